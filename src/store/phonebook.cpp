#include "store/phonebook.h"

#include "store/phonebookimpl.h"

#include <QVariant>

namespace dialvault {

Status PhoneBook::Impl::ready()
{
    if (!engine->isOpen())
        return engine->open();
    return {};
}

ContactEntry entryAt(const QSqlQuery &query, int first)
{
    // A null QVariant converts to a null QString, so NULL stays apart from
    // the empty text; a row number that another program stored as text is
    // read as the number it spells, or 0.
    return ContactEntry{query.value(first).toString(), query.value(first + 1).toString(),
                        query.value(first + 2).toString(), query.value(first + 3).toDouble()};
}

PhoneBook::PhoneBook(const QString &folder)
    : PhoneBook(PhoneBookSource::inFolder(folder))
{ }

PhoneBook::PhoneBook(const PhoneBookSource &source)
    : d(std::make_unique<Impl>())
{
    d->source = source;
    d->engine = makeStoreEngine(source);
}

PhoneBook::~PhoneBook() = default;

const PhoneBookSource &PhoneBook::source() const
{
    return d->source;
}

QString PhoneBook::databasePath() const
{
    return d->source.databasePath();
}

QString PhoneBook::shownName() const
{
    return d->source.shownName();
}

Status PhoneBook::open()
{
    const StoreEngine::Watch watching(*d->engine);
    return d->engine->open();
}

} // namespace dialvault
