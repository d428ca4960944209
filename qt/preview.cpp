#include "qt/preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

#include "app/preview_plot.h"
#include "qt/text.h"

namespace kelvane {

namespace {

QRect ToRect(const PlotBox& box) { return QRect(box.left, box.top, box.width, box.height); }

}  // namespace

PreviewPlot::PreviewPlot(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("preview"));
  setAccessibleName(FromUtf8(kPreviewName));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void PreviewPlot::SetLines(PreviewLines lines) {
  if (RowCount(lines) != RowCount(lines_)) view_ = {0, -1, view_.pointer_x};
  lines_ = std::move(lines);
  update();
}

void PreviewPlot::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (drag_x_ >= 0) {
    view_ = PannedView(view_, RowCount(lines_), picture_.frame, x - drag_x_);
    drag_x_ = x;
  }
  view_.pointer_x = x;
  update();
}

void PreviewPlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) drag_x_ = event->position().toPoint().x();
}

void PreviewPlot::mouseReleaseEvent(QMouseEvent* /*event*/) { drag_x_ = -1; }

void PreviewPlot::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
  view_ = {0, -1, view_.pointer_x};
  update();
}

void PreviewPlot::wheelEvent(QWheelEvent* event) {
  const int turned = event->angleDelta().y();
  if (turned == 0) return;
  view_ = ZoomedView(view_, RowCount(lines_), picture_.frame, event->position().toPoint().x(),
                     turned > 0 ? 0.8 : 1.25);
  update();
}

void PreviewPlot::leaveEvent(QEvent* /*event*/) {
  view_.pointer_x = -1;
  update();
}

void PreviewPlot::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const TextMeasure measure{
      [&](std::string_view text) { return metrics.horizontalAdvance(FromUtf8(text)); },
      metrics.height()};
  picture_ = DrawPreview(lines_, {0, 0, width(), height()}, measure, view_);
  const PlotPicture& picture = picture_;
  const QColor text = palette().color(QPalette::Text);
  const std::array<std::uint32_t, 5> colours = PreviewColours(palette().base().color().rgb());
  painter.fillRect(rect(), palette().base());
  if (!picture.band.empty()) {  // faint, under everything
    QPolygon band;
    for (const PlotPoint& point : picture.band) band.append(QPoint(point.x, point.y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(QRgb(BandColour(palette().base().color().rgb(), text.rgb()))));
    painter.drawPolygon(band);
    painter.setBrush(Qt::NoBrush);
  }
  painter.setPen(text);
  if (picture.frame.width > 0) painter.drawRect(ToRect(picture.frame).adjusted(0, 0, -1, -1));
  for (const auto& [from, to] : picture.ticks) painter.drawLine(from.x, from.y, to.x, to.y);
  for (const PlotText& label : picture.texts) {
    painter.drawText(ToRect(label.box), Qt::AlignLeft | Qt::AlignTop, FromUtf8(label.text));
  }
  for (std::size_t pass = 0; pass < 2; ++pass) {  // where the limit holds a pass line back
    const QColor colour{QRgb(colours[kInputCount + pass])};
    for (const auto& [from, to] : picture.held_spans[pass]) {
      painter.fillRect(from, picture.marks_y[pass], to - from + 1, 4, colour);
    }
  }
  for (std::size_t pass = 0; pass < 2; ++pass) {  // under the pass lines Go writes
    painter.setPen(QPen(QColor(QRgb(colours[kInputCount + pass])), 1, Qt::DashLine));
    for (const std::vector<PlotPoint>& run : picture.on_disk[pass]) {
      QPolygon points;
      for (const PlotPoint& point : run) points.append(QPoint(point.x, point.y));
      painter.drawPolyline(points);
    }
  }
  // A wider pen is drawn as that many one-pixel lines, each a pixel below the last: Qt
  // strokes a wide pen many times slower, too slow for a full-screen redraw within a frame.
  for (std::size_t i = 0; i < picture.traces.size(); ++i) {
    const auto& [from, to] = picture.samples[i];
    QPolygon points;
    points.reserve(static_cast<qsizetype>(picture.traces[i].size()));
    for (const PlotPoint& point : picture.traces[i]) points.append(QPoint(point.x, point.y));
    painter.setPen(i == 0 ? text : QColor(QRgb(colours[i])));
    for (int below = 0; below < kPreviewPenWidths[i]; ++below) {
      if (from.x != to.x) painter.drawLine(from.x, from.y + below, to.x, to.y + below);
      painter.drawPolyline(points.translated(0, below));
    }
  }
  if (!picture.readout.text.empty()) {  // the row under the pointer, over everything
    const auto& [from, to] = picture.cursor;
    painter.setPen(QPen(text, 1, Qt::DotLine));
    painter.drawLine(from.x, from.y, to.x, to.y);
    painter.fillRect(ToRect(picture.readout.box).adjusted(-2, 0, 2, 0), palette().base());
    painter.setPen(text);
    painter.drawText(ToRect(picture.readout.box), Qt::AlignLeft | Qt::AlignTop,
                     FromUtf8(picture.readout.text));
  }
  if (!picture.message.text.empty()) {
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QString message = FromUtf8(picture.message.text);
    const QRect box = ToRect(picture.message.box);
    painter.fillRect(painter.boundingRect(box, flags, message).intersected(box), palette().base());
    painter.setPen(text);
    painter.drawText(box, flags, message);
  }
}

}  // namespace kelvane
