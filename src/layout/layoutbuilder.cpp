#include "layout/layoutbuilder.h"

#include "button/paintedbutton.h"
#include "button/propertybag.h"
#include "layout/dialogkeys.h"
#include "layout/formaccessibility.h"
#include "layout/formlabel.h"
#include "layout/formtextbox.h"
#include "layout/layoutresources.h"
#include "layout/layouttext.h"
#include "layout/picturebox.h"
#include "layout/twips.h"

#include <QHash>
#include <QTimer>

#include <algorithm>

namespace dialvault {

namespace {

// The button reads its settings from a property bag, as it would from a
// stored layout: lower-case keys, with its extent.
PaintedButton *makeButton(const ControlLayout &control, QWidget *window)
{
    const ButtonLayout &settings = control.button;
    PropertyBag bag;
    bag.write(QStringLiteral("_extentx"), settings.extentX);
    bag.write(QStringLiteral("_extenty"), settings.extentY);
    bag.write(QStringLiteral("btype"), settings.buttonType);
    bag.write(QStringLiteral("tx"), shownText(control.text));
    bag.write(QStringLiteral("enab"), settings.enabled);
    bag.write(QStringLiteral("font"), QVariant::fromValue(settings.font));
    bag.write(QStringLiteral("coltype"), settings.colourScheme);
    bag.write(QStringLiteral("focusr"), settings.showFocusRect);
    bag.write(QStringLiteral("bcol"), settings.backColour);
    bag.write(QStringLiteral("fcol"), settings.foreColour);
    auto *button = new PaintedButton(window);
    button->readProperties(bag);
    return button;
}

FormLabel *makeLabel(const ControlLayout &control, QWidget *window)
{
    auto *label = new FormLabel(shownText(control.text),
                                layoutColour(control.textColour.value_or(LayoutColour::system(18))),
                                window);
    label->setRightToLeft(control.rightToLeft);
    return label;
}

FormTextBox *makeTextBox(const ControlLayout &control, QWidget *window)
{
    auto *box = new FormTextBox(window);
    box->setText(shownText(control.text));
    if (control.textColour) {
        QPalette colours = box->palette();
        colours.setColor(QPalette::Text, layoutColour(*control.textColour));
        box->setPalette(colours);
    }
    if (!control.passwordCharacter.isNull())
        box->setEchoMode(QLineEdit::Password);
    // A box outside the tab order is reached by the mouse alone.
    if (control.tabIndex < 0)
        box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QObject *makeControl(const ControlLayout &control, QWidget *window, const ControlFactory &factory)
{
    switch (control.kind) {
    case ControlKind::Label:
        return makeLabel(control, window);
    case ControlKind::TextBox:
        return makeTextBox(control, window);
    case ControlKind::Button:
        return makeButton(control, window);
    case ControlKind::PictureBox:
        return new PictureBox(layoutColour(control.backColour.value_or(LayoutColour::system(15))),
                              window);
    case ControlKind::Timer: {
        auto *timer = new QTimer(window);
        timer->setInterval(control.interval);
        return timer;
    }
    case ControlKind::Grid:
    case ControlKind::DataControl:
    case ControlKind::ColourDialog:
        break;
    }
    return factory ? factory(control, window) : nullptr;
}

// A label's caption as a name. The colon (stored first, so that it stands at
// the end of the Persian word) and the tatweels that draw a word out are for
// the eye: a reader would say "colon" or stumble over them.
QString spokenLabel(QString caption)
{
    caption.remove(QChar(0x0640));
    const auto decoration = [](QChar c) { return c == u':' || c.isSpace(); };
    qsizetype begin = 0;
    qsizetype end = caption.size();
    while (begin < end && decoration(caption.at(begin)))
        ++begin;
    while (end > begin && decoration(caption.at(end - 1)))
        --end;
    return caption.sliced(begin, end - begin);
}

// Names each control for screen readers as the layout says: by its labels,
// which also become its buddies (the reader's labelled-by relation), or by a
// name of its own. The window is named by its caption already.
void nameForReaders(const WindowLayout &layout, QWidget *window,
                    const std::vector<QObject *> &controls)
{
    if (!layout.pictureWords.isEmpty())
        window->setAccessibleDescription(shownText(layout.pictureWords));
    // `labelledBy` names labels by their names in the layout.
    QHash<QString, QLabel *> labels;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (auto *label = qobject_cast<QLabel *>(controls[i]))
            labels.insert(layout.controls[i].name, label);
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlLayout &control = layout.controls[i];
        auto *widget = qobject_cast<QWidget *>(controls[i]);
        if (!widget)
            continue;
        QStringList words;
        for (const QString &labelName : control.labelledBy) {
            if (QLabel *label = labels.value(labelName)) {
                label->setBuddy(widget);
                words.append(spokenLabel(label->text()));
            }
        }
        const QString name
            = control.spokenName.isEmpty() ? words.join(u' ') : shownText(control.spokenName);
        if (!name.isEmpty())
            widget->setAccessibleName(name);
    }
}

// Size, font, pointer and the settings every kind of widget shares.
void place(QWidget *widget, const ControlLayout &control)
{
    widget->setGeometry(twipsRect(control.left, control.top, control.width, control.height));
    if (control.font)
        widget->setFont(control.font->toQFont());
    if (control.pointer != PointerShape::Default)
        widget->setCursor(pointerCursor(control.pointer, widget->devicePixelRatioF()));
    widget->setToolTip(shownText(control.toolTip));
    widget->setEnabled(control.enabled);
    if (!control.visible)
        widget->hide();
    if (auto *label = qobject_cast<FormLabel *>(widget); label && control.autoSize)
        label->fitToText();
}

} // namespace

std::vector<QObject *> buildControls(const WindowLayout &layout, QWidget *window,
                                     const ControlFactory &factory)
{
    std::vector<QObject *> controls;
    std::vector<std::pair<int, QWidget *>> tabStops;
    PaintedButton *defaultButton = nullptr;
    PaintedButton *cancelButton = nullptr;
    installFormAccessibility();

    for (const ControlLayout &control : layout.controls) {
        QObject *object = makeControl(control, window, factory);
        controls.push_back(object);
        if (!object)
            continue;
        object->setObjectName(control.name);
        auto *widget = qobject_cast<QWidget *>(object);
        if (!widget)
            continue;
        place(widget, control);
        if (control.tabIndex >= 0 && widget->focusPolicy() != Qt::NoFocus)
            tabStops.emplace_back(control.tabIndex, widget);
        if (auto *button = qobject_cast<PaintedButton *>(widget)) {
            if (control.isDefault)
                defaultButton = button;
            if (control.isCancel)
                cancelButton = button;
        }
    }

    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    if (defaultButton || cancelButton)
        DialogKeys::install(window, defaultButton, cancelButton);
    nameForReaders(layout, window, controls);
    return controls;
}

} // namespace dialvault
