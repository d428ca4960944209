#ifndef KELVANE_QT_PREVIEW_H_
#define KELVANE_QT_PREVIEW_H_

#include <QWidget>

#include "app/preview_lines.h"

namespace kelvane {

// The preview of the lines Go will write, drawn as DrawPreview lays it out in the
// palette's colours.
class PreviewPlot : public QWidget {
 public:
  explicit PreviewPlot(QWidget* parent = nullptr);

  void SetLines(PreviewLines lines);
  const PreviewLines& lines() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PreviewLines lines_;
};

}  // namespace kelvane

#endif  // KELVANE_QT_PREVIEW_H_
