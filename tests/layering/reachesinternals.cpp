// Must not compile: the windows' library reaching the store's internals.
#include "store/postgresengine.h"

int main()
{
    return 0;
}
