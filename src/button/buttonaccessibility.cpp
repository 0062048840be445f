#include "button/buttonaccessibility.h"

#include "button/paintedbutton.h"

#include <QAccessibleWidget>
#include <QKeySequence>

namespace dialvault {

namespace {

class ButtonAccessible : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(PaintedButton *button)
        : QAccessibleWidget(button, QAccessible::PushButton)
    { }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            if (!button()->accessibleName().isEmpty())
                return QAccessibleWidget::text(t);
            return spokenCaption(button()->caption());
        case QAccessible::Accelerator:
            return accessKeyBinding();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.defaultButton = button()->isDefault();
        state.pressed = button()->isEnabled() && button()->face().lastState == Look::Down;
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            button()->pressAsSpace();
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction() && !accessKeyBinding().isEmpty())
            return {accessKeyBinding()};
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

private:
    PaintedButton *button() const { return static_cast<PaintedButton *>(widget()); }

    // The access key is typed with Alt (see DialogKeys).
    QString accessKeyBinding() const
    {
        const QChar key = button()->accessKey();
        if (key.isNull())
            return {};
        return QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(key.toUpper().unicode())))
            .toString(QKeySequence::NativeText);
    }
};

QAccessibleInterface *buttonInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String(PaintedButton::staticMetaObject.className()))
        return nullptr;
    auto *button = qobject_cast<PaintedButton *>(object);
    return button ? new ButtonAccessible(button) : nullptr;
}

} // namespace

void installButtonAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(buttonInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

QString spokenCaption(const QString &caption)
{
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // A lone marker at the end stands for nothing.
        if (caption.at(i) == u'&' && ++i == caption.size())
            break;
        spoken.append(caption.at(i));
    }
    return spoken.trimmed();
}

} // namespace dialvault
