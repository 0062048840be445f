#pragma once

#include <QString>

#include <optional>

namespace dialvault {

// The contact list's columns, in the order the grid shows them.
enum class ListColumn { Name, Phone, Note, RowNumber };
inline constexpr int listColumnCount = 4;

// The order the contact list shows its entries in: the order they were
// stored in, or by one column, ascending or descending. Entries whose values
// are equal keep their stored order either way.
struct ListOrder
{
    std::optional<ListColumn> column; // none: stored order
    bool descending = false;

    bool operator==(const ListOrder &) const = default;

    // As the settings keep it: "name", "phone descending", "row", …; empty
    // for stored order.
    QString toText() const;
    // The order a kept text names; stored order for anything else.
    static ListOrder fromText(const QString &text);
};

} // namespace dialvault
