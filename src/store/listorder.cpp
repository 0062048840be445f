#include "store/listorder.h"

#include <QStringList>

namespace dialvault {

namespace {

// Data, never translated: the settings outlive the interface's language.
const char *const columnWords[listColumnCount] = {"name", "phone", "note", "row"};
const char descendingWord[] = "descending";

} // namespace

QString ListOrder::toText() const
{
    if (!column)
        return {};
    QString text = QLatin1String(columnWords[int(*column)]);
    if (descending)
        text += u' ' + QLatin1String(descendingWord);
    return text;
}

ListOrder ListOrder::fromText(const QString &text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 2)
        return {};
    if (words.size() == 2 && words.at(1) != QLatin1String(descendingWord))
        return {};
    for (int column = 0; column < listColumnCount; ++column) {
        if (words.first() == QLatin1String(columnWords[column]))
            return {ListColumn(column), words.size() == 2};
    }
    return {};
}

} // namespace dialvault
