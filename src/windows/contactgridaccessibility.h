#pragma once

namespace dialvault {

class ContactGrid;

// Lets screen readers read `grid` as a table: its rows and cells through the
// model, the field names as column headings, and the cell that takes the
// focus as the current cell moves. Nothing is read until a reader asks, so a
// million rows cost what a thousand do.
void makeReadable(ContactGrid *grid);

} // namespace dialvault
