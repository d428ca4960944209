#ifndef KELVANE_QT_PREVIEW_H_
#define KELVANE_QT_PREVIEW_H_

#include <QWidget>
#include <string>

#include "app/preview_lines.h"
#include "app/preview_plot.h"

namespace kelvane {

// The preview of the lines Go will write, drawn as DrawPreview lays it out in the
// palette's colours. The pointer reads out the row under it; the wheel zooms around it,
// a drag moves along the rows, a double-click shows every row again.
class PreviewPlot : public QWidget {
 public:
  explicit PreviewPlot(QWidget* parent = nullptr);

  // Shows `lines`; every row again when their count changed.
  void SetLines(PreviewLines lines);
  const PreviewLines& lines() const { return lines_; }
  const PlotView& view() const { return view_; }
  // The picture as last painted, its readout of the row under the pointer among it.
  const PlotPicture& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  PreviewLines lines_;
  PlotView view_;
  int drag_x_ = -1;      // where a drag with the left button last was; -1 for none
  PlotPicture picture_;  // as last painted: the pointer is read against its frame
};

}  // namespace kelvane

#endif  // KELVANE_QT_PREVIEW_H_
