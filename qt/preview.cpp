#include "qt/preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>
#include <utility>

#include "qt/accessible_roles.h"
#include "qt/crossings.h"

namespace kelvane {

namespace {

// Strokes `primitives` with `painter`, each ink in the colour `inks` gives it.
void Stroke(QPainter& painter, const std::vector<Primitive>& primitives,
            const std::array<std::uint32_t, kInkCount>& inks) {
  constexpr Qt::PenStyle kDashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine};
  for (const Primitive& primitive : primitives) {
    const QColor colour{QRgb(inks[static_cast<std::size_t>(primitive.ink)])};
    QPolygon points;
    for (const Point& point : primitive.points) points.append(QPoint(point.x, point.y));
    switch (primitive.shape) {
      case Shape::kBox:
        painter.fillRect(ToRect(primitive.box), colour);
        break;
      case Shape::kText:
        painter.setPen(colour);
        painter.drawText(ToRect(primitive.box), Qt::AlignLeft | Qt::AlignTop,
                         FromUtf8(primitive.text));
        break;
      case Shape::kArea:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(points);
        painter.setBrush(Qt::NoBrush);
        break;
      case Shape::kLine:  // a wide pen as one-pixel lines: Qt strokes one many times slower
        painter.setPen(QPen(colour, 1, kDashes[static_cast<std::size_t>(primitive.dash)]));
        for (int below = 0; below < primitive.width; ++below) {
          painter.drawPolyline(points.translated(0, below));
        }
        break;
    }
  }
}

}  // namespace

PreviewPlot::PreviewPlot(QWidget* parent) : QWidget(parent) {
  InstallAccessibleRoles();  // before the first accessibility event makes this an interface
  setObjectName(QStringLiteral("preview"));
  setAccessibleName(FromUtf8(kPreviewName));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void PreviewPlot::SetLines(PreviewLines lines) {
  if (RowCount(lines) != RowCount(lines_)) view_ = EveryRow(view_);
  lines_ = std::move(lines);
  stale_ = true;
  update();
}

void PreviewPlot::Show(const PlotView& view) {
  const PlotView before = std::exchange(view_, view);
  if (!SameRows(before, view)) {
    stale_ = true;
    update();
    return;
  }
  for (const Box& box : PointerBoxes(picture_, before.pointer_x, view.pointer_x)) {
    update(ToRect(box));
  }
}

TextMeasure PreviewPlot::Measure() const {
  const QFontMetrics metrics = fontMetrics();
  return {[metrics](std::string_view text) { return metrics.horizontalAdvance(FromUtf8(text)); },
          metrics.height()};
}

void PreviewPlot::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) stale_ = true;
  QWidget::changeEvent(event);
}

void PreviewPlot::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  PlotView view = view_;
  if (drag_x_ >= 0) {
    view = PannedView(view, RowCount(lines_), picture_.frame, x - drag_x_);
    drag_x_ = x;
  }
  view.pointer_x = x;
  Show(view);
}

void PreviewPlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) drag_x_ = event->position().toPoint().x();
}

void PreviewPlot::mouseReleaseEvent(QMouseEvent* /*event*/) { drag_x_ = -1; }

void PreviewPlot::mouseDoubleClickEvent(QMouseEvent* /*event*/) { Show(EveryRow(view_)); }

void PreviewPlot::wheelEvent(QWheelEvent* event) {
  const int turned = event->angleDelta().y();
  if (turned == 0) return;
  Show(WheeledView(view_, RowCount(lines_), picture_.frame, event->position().toPoint().x(),
                   turned > 0));
}

void PreviewPlot::leaveEvent(QEvent* /*event*/) {
  PlotView view = view_;
  view.pointer_x = -1;
  Show(view);
}

void PreviewPlot::paintEvent(QPaintEvent* event) {
  const std::array<std::uint32_t, kInkCount> inks =
      PreviewInks(palette().base().color().rgb(), palette().color(QPalette::Text).rgb());
  const qreal ratio = devicePixelRatioF();
  if (drawn_.size() != size() * ratio) {
    drawn_ = QPixmap(size() * ratio);
    drawn_.setDevicePixelRatio(ratio);
    stale_ = true;
  }
  if (stale_) {
    picture_ = LayOutPreview(lines_, {0, 0, width(), height()}, Measure(), view_);
    stale_ = false;
    QPainter painter(&drawn_);
    painter.setFont(font());
    Stroke(painter, picture_.primitives, inks);
  }
  pointer_layer_ = LayOutPointer(lines_, picture_, view_.pointer_x, Measure());
  QPainter painter(this);
  for (const QRect& box : event->region()) {
    painter.drawPixmap(box, drawn_,
                       QRectF(QPointF(box.topLeft()) * ratio, QSizeF(box.size()) * ratio));
  }
  Stroke(painter, pointer_layer_, inks);
}

}  // namespace kelvane
