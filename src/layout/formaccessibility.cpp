#include "layout/formaccessibility.h"

#include "layout/formwindow.h"
#include "layout/picturebox.h"

#include <QAccessibleWidget>

namespace dialvault {

namespace {

class PictureBoxAccessible : public QAccessibleWidget
{
public:
    explicit PictureBoxAccessible(PictureBox *box)
        : QAccessibleWidget(box)
    { }

    QAccessible::Role role() const override
    {
        return widget()->accessibleName().isEmpty() ? QAccessible::Graphic
                                                    : QAccessible::StaticText;
    }
};

QAccessibleInterface *formInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String(FormWindow::staticMetaObject.className())) {
        if (auto *window = qobject_cast<FormWindow *>(object))
            return new QAccessibleWidget(window, QAccessible::Window);
    }
    if (className == QLatin1String(PictureBox::staticMetaObject.className())) {
        if (auto *box = qobject_cast<PictureBox *>(object))
            return new PictureBoxAccessible(box);
    }
    return nullptr;
}

} // namespace

void installFormAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(formInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace dialvault
