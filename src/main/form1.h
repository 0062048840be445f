#pragma once

#include "layout/formwindow.h"
#include "store/contactstore.h"

class QLabel;
class QLineEdit;
class QTimer;

namespace dialvault {

class PaintedButton;

// The main window: the entry boxes, the count and clock, and the search,
// add, delete, clear and exit operations. It owns the run's one contact store.
class Form1 : public FormWindow
{
    Q_OBJECT

public:
    Form1();
    ~Form1() override;

    // The load handler, then the window shown with the focus in Text1. When
    // the store cannot be opened the failure is reported and the program
    // ended instead; returns whether the window was shown.
    bool start();

    // Opens the store again and shows its count in Text5.
    Status RefreshMain();
    // Empties the name, phone and note boxes.
    void ClearFields();

    ContactStore &store() { return store_; }

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLineEdit *Text1;
    QLineEdit *Text2;
    QLineEdit *Text3;
    QLineEdit *Text5;
    PaintedButton *paintedButton1;
    PaintedButton *paintedButton2;
    PaintedButton *paintedButton3;
    PaintedButton *paintedButton4;
    PaintedButton *paintedButton5;
    PaintedButton *paintedButton6;
    PaintedButton *paintedButton7;
    PaintedButton *paintedButton8;
    QTimer *Timer1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void search();
    void add();
    void deleteByName();
    // RefreshMain after a successful search, add or delete; a failure is said.
    void refreshAfterChange();
    // Tells of each add whose outcome was unknown that it is now stored.
    void reportSettledAdds();
    void confirmExit();
    void tick();

    ContactStore store_;
};

} // namespace dialvault
