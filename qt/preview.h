#ifndef KELVANE_QT_PREVIEW_H_
#define KELVANE_QT_PREVIEW_H_

#include <QPixmap>
#include <QWidget>
#include <vector>

#include "app/preview_lines.h"
#include "app/preview_picture.h"

namespace kelvane {

// The preview of the lines Go will write, stroked as LayOutPreview lays it out, in the
// palette's colours. The picture is kept drawn while the pointer moves, which redraws only
// the pointer's layer: the row under it read out. The wheel zooms around it, a drag moves
// along the rows, a double-click shows every row again.
class PreviewPlot : public QWidget {
 public:
  explicit PreviewPlot(QWidget* parent = nullptr);

  // Shows `lines`; every row again when their count changed.
  void SetLines(PreviewLines lines);
  const PreviewLines& lines() const { return lines_; }
  const PlotView& view() const { return view_; }
  // The picture and the pointer's layer as last painted.
  const PreviewPicture& picture() const { return picture_; }
  const std::vector<Primitive>& pointer_layer() const { return pointer_layer_; }
  // Its size as the window opens, at least `width` wide (PreviewFirstSize).
  Box FirstSize(int width) const { return PreviewFirstSize(Measure(), width); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // Shows `view`: the whole picture again when its rows differ, else the pointer's layer.
  void Show(const PlotView& view);
  TextMeasure Measure() const;

  PreviewLines lines_;
  PlotView view_;
  int drag_x_ = -1;  // where a drag with the left button last was; -1 for none
  PreviewPicture picture_;
  std::vector<Primitive> pointer_layer_;
  QPixmap drawn_;      // the picture as stroked, without the pointer's layer
  bool stale_ = true;  // drawn_ is not the picture of the lines, the view and the size
};

}  // namespace kelvane

#endif  // KELVANE_QT_PREVIEW_H_
