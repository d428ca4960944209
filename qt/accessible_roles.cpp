#include "qt/accessible_roles.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace kelvane {

namespace {

// A widget in `role`; a link, pressed, is clicked where it is.
class WidgetInRole : public QAccessibleWidget {
 public:
  WidgetInRole(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  QStringList actionNames() const override {
    return role() == QAccessible::Link ? QStringList{pressAction()} : QStringList{};
  }
  void doAction(const QString& action) override {
    if (action != pressAction() || role() != QAccessible::Link) return;
    const QPointF middle = QRectF(widget()->rect()).center();
    QMouseEvent release(QEvent::MouseButtonRelease, middle, widget()->mapToGlobal(middle),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget(), &release);
  }
};

QAccessibleInterface* InRole(const QString& /*class_name*/, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (widget->objectName() == u"folderLine") return new WidgetInRole(widget, QAccessible::Link);
  if (widget->objectName() == u"preview") return new WidgetInRole(widget, QAccessible::Chart);
  return nullptr;
}

}  // namespace

void InstallAccessibleRoles() {
  static const bool installed = (QAccessible::installFactory(InRole), true);
  static_cast<void>(installed);
}

}  // namespace kelvane
