#pragma once

#include "layout/layoutdata.h"

class QTimer;

namespace dialvault {

class FormLabel;
class FormTextBox;
class PaintedButton;

// The controls each window's code reaches, by their role; each window's
// layout says which of its controls fills which.

struct MainWindowControls
{
    FormLabel *phoneLabel = nullptr;
    FormLabel *clockLabel = nullptr;
    FormTextBox *nameBox = nullptr;
    FormTextBox *phoneBox = nullptr;
    FormTextBox *noteBox = nullptr;
    FormTextBox *countBox = nullptr;
    PaintedButton *searchButton = nullptr;
    PaintedButton *addButton = nullptr;
    PaintedButton *deleteButton = nullptr;
    PaintedButton *clearButton = nullptr;
    PaintedButton *helpButton = nullptr;
    PaintedButton *listButton = nullptr;
    PaintedButton *aboutButton = nullptr;
    PaintedButton *exitButton = nullptr;
    QTimer *clockTimer = nullptr;
};

struct HelpWindowControls
{
    PaintedButton *exitButton = nullptr;
};

struct AboutWindowControls
{
    PaintedButton *exitButton = nullptr;
    PaintedButton *programmerButton = nullptr; // opens the code prompt
    FormTextBox *phoneBookPathBox = nullptr;
};

struct PictureWindowControls
{
    PaintedButton *exitButton = nullptr;
};

// The grid, its data and the colour dialog are the list window's own.
struct ContactListWindowControls
{
    PaintedButton *exitButton = nullptr;
    PaintedButton *changeColourButton = nullptr;
    PaintedButton *saveColourButton = nullptr;
    FormTextBox *heldColourBox = nullptr; // the chosen colour until it is saved
    FormTextBox *findBox = nullptr; // narrows the list as a person types
    FormLabel *matchesLabel = nullptr; // how many entries the list shows
};

struct CodePromptWindowControls
{
    FormTextBox *codeBox = nullptr;
    PaintedButton *confirmButton = nullptr;
    PaintedButton *exitButton = nullptr;
    FormLabel *messageLabel = nullptr;
};

const WindowLayoutOf<MainWindowControls> &mainWindowLayout();
const WindowLayoutOf<HelpWindowControls> &helpWindowLayout();
const WindowLayoutOf<AboutWindowControls> &aboutWindowLayout();
const WindowLayoutOf<PictureWindowControls> &pictureWindowLayout();
const WindowLayoutOf<ContactListWindowControls> &contactListWindowLayout();
const WindowLayoutOf<CodePromptWindowControls> &codePromptWindowLayout();

} // namespace dialvault
