#include "app/preview_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "base/decimal_number.h"
#include "passlines/separation_move.h"

namespace kelvane {

namespace {

constexpr int kSampleWidth = 20;  // the piece of pen in the legend
constexpr int kTickLength = 4;

// A step of 1, 2 or 5 times a power of ten that divides `span` into at most `count` parts.
double NiceStep(double span, int count) {
  const double rough = span / std::max(count, 1);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough) return factor * power;
  }
  return 10 * power;
}

// A tick's value as written beside it, with as many decimals as its step needs.
std::string TickText(double value, double step) {
  if (std::abs(value) < step / 2) value = 0;  // never "-0"
  char text[64];
  if (step >= 1e6 || step < 1e-4) {
    std::snprintf(text, sizeof text, "%g", value);
  } else {
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step))));
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
  }
  return text;
}

int ValueY(double value, std::pair<double, double> range, const PlotBox& frame) {
  const auto [low, high] = range;
  return frame.top +
         static_cast<int>(std::lround((high - value) / (high - low) * (frame.height - 1)));
}

// The course of `values` across `frame`: one point per value where each value has a pixel
// column of its own, otherwise the least and the greatest of each column's values, in the
// order they come.
std::vector<PlotPoint> Trace(const std::vector<float>& values, const PlotBox& frame,
                             std::pair<double, double> range) {
  const auto y = [&](double value) { return ValueY(value, range, frame); };
  const std::size_t count = values.size();
  const auto width = static_cast<std::size_t>(frame.width);
  std::vector<PlotPoint> points;
  if (count <= width) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t step = count > 1 ? i * (width - 1) / (count - 1) : (width - 1) / 2;
      points.push_back({frame.left + static_cast<int>(step), y(values[i])});
    }
    return points;
  }
  std::size_t first = 0;
  for (std::size_t column = 0; column < width; ++column) {
    const std::size_t end = (column + 1) * count / width;
    const auto [least, greatest] =
        std::minmax_element(values.begin() + static_cast<std::ptrdiff_t>(first),
                            values.begin() + static_cast<std::ptrdiff_t>(end));
    const int x = frame.left + static_cast<int>(column);
    if (least < greatest) {
      points.push_back({x, y(*least)});
      points.push_back({x, y(*greatest)});
    } else {
      points.push_back({x, y(*greatest)});
      points.push_back({x, y(*least)});
    }
    first = end;
  }
  return points;
}

// The course of `disk` where it differs from `fresh`, in runs, on Trace's points: one a row
// where each row has a pixel column, else the least and the greatest of each column's.
std::vector<std::vector<PlotPoint>> DifferingRuns(const std::vector<float>& disk,
                                                  const std::vector<float>& fresh,
                                                  const PlotBox& frame,
                                                  std::pair<double, double> range) {
  const std::vector<PlotPoint> course = Trace(disk, frame, range);
  const std::size_t count = disk.size(), width = static_cast<std::size_t>(frame.width);
  const bool per_row = count <= width;
  std::vector<std::vector<PlotPoint>> runs(1);
  for (std::size_t group = 0; group < (per_row ? count : width); ++group) {
    const std::size_t first = per_row ? group : group * count / width;
    const std::size_t end = per_row ? group + 1 : (group + 1) * count / width;
    bool differs = false;
    for (std::size_t row = first; row < end; ++row) {
      differs = differs || row >= fresh.size() || disk[row] != fresh[row];
    }
    if (!differs) {
      if (!runs.back().empty()) runs.emplace_back();
      continue;
    }
    const std::size_t points = per_row ? 1 : 2;
    runs.back().insert(runs.back().end(),
                       course.begin() + static_cast<std::ptrdiff_t>(group * points),
                       course.begin() + static_cast<std::ptrdiff_t>((group + 1) * points));
  }
  if (runs.back().empty()) runs.pop_back();
  for (std::vector<PlotPoint>& run : runs) {  // a lone point as a short dash
    if (run.size() == 1) run = {{run[0].x - 2, run[0].y}, {run[0].x + 2, run[0].y}};
  }
  return runs;
}

// The runs of pixel columns of `frame`, first and last, where `limit` holds back the pass
// line of `race` toward `companion`: each row's from its column to the next row's.
std::vector<std::array<int, 2>> HeldSpans(const std::vector<float>& race,
                                          const std::vector<float>& companion, float limit,
                                          const PlotBox& frame) {
  std::vector<std::array<int, 2>> spans;
  const std::size_t count = std::min(race.size(), companion.size());
  const double span = static_cast<double>(std::max<std::size_t>(count, 2) - 1);
  const auto column = [&](std::size_t row) {
    return frame.left +
           static_cast<int>(std::lround(static_cast<double>(row) / span * (frame.width - 1)));
  };
  for (std::size_t row = 0; row < count; ++row) {
    if (!HeldByLimit(race[row], companion[row], limit)) continue;
    const int from = column(row);
    const int to = row + 1 < count ? std::max(from, column(row + 1) - 1) : from;
    if (!spans.empty() && spans.back()[1] >= from - 1) {
      spans.back()[1] = std::max(spans.back()[1], to);
    } else {
      spans.push_back({from, to});
    }
  }
  return spans;
}

// The band of race ± limit, kept inside the frame: the upper edge rightward, then the lower
// edge back.
std::vector<PlotPoint> Band(const std::vector<float>& race, float limit, const PlotBox& frame,
                            std::pair<double, double> range) {
  std::vector<float> upper(race), lower(race);
  const auto inside = [&range](double value) {
    return static_cast<float>(std::clamp(value, range.first, range.second));
  };
  for (float& value : upper) value = inside(double{value} + limit);
  for (float& value : lower) value = inside(double{value} - limit);
  // One point a pixel column on each edge, the outermost: an outline that never crosses
  // itself, which painters fill many times faster.
  const auto edge = [&](const std::vector<float>& values, bool top) {
    std::vector<PlotPoint> points;
    for (const PlotPoint& point : Trace(values, frame, range)) {
      if (points.empty() || points.back().x != point.x) {
        points.push_back(point);
      } else {
        points.back().y =
            top ? std::min(points.back().y, point.y) : std::max(points.back().y, point.y);
      }
    }
    return points;
  };
  std::vector<PlotPoint> outline = edge(upper, true);
  const std::vector<PlotPoint> below = edge(lower, false);
  outline.insert(outline.end(), below.rbegin(), below.rend());
  return outline;
}

// What each part of the picture is laid out with.
struct Layout {
  PlotBox area;
  const TextMeasure& measure;
  int line;  // a line of text's height
  int pad;   // the room around the picture and between its parts
  int Right() const { return area.left + area.width - pad; }
  int Bottom() const { return area.top + area.height - pad; }
};

// The legend across the top, its entries flowing across as many rows as they need, one for
// each line shown. Returns the y under it; nothing is drawn when no line is shown.
int DrawLegend(const PreviewLines& lines, const Layout& layout, PlotPicture& picture) {
  int x = layout.area.left + layout.pad;
  int y = layout.area.top + layout.pad;
  bool any = false;
  for (std::size_t i = 0; i < lines.separations.size(); ++i) {
    if (lines.separations[i].empty()) continue;
    const int width = layout.measure.width(kLineNames[i]);
    if (any && x + kSampleWidth + 4 + width > layout.Right()) {
      x = layout.area.left + layout.pad;
      y += layout.line;
    }
    const int middle = y + layout.line / 2;
    picture.samples[i] = {PlotPoint{x, middle}, PlotPoint{x + kSampleWidth, middle}};
    picture.texts.push_back(
        {{x + kSampleWidth + 4, y, width, layout.line}, std::string(kLineNames[i])});
    x += kSampleWidth + 4 + width + 2 * layout.pad;
    any = true;
  }
  return y + layout.line + layout.pad;
}

// The least and the greatest value of the lines shown, a twentieth of their span beyond
// each; a flat course gets a meter either side.
std::pair<double, double> ValueRange(const PreviewLines& lines) {
  double low = INFINITY;
  double high = -INFINITY;
  const auto take = [&](const std::vector<float>& values) {
    for (const float value : values) {
      low = std::min<double>(low, value);
      high = std::max<double>(high, value);
    }
  };
  for (const std::vector<float>& values : lines.separations) take(values);
  for (const std::vector<float>& values : lines.on_disk) take(values);
  if (high == low) {
    low -= 1;
    high += 1;
  }
  const double margin = (high - low) / 20;
  return {low - margin, high + margin};
}

// The meters up the left side from `top` down, whose widest number (or the rows' unit)
// sets where the frame begins; sets the frame. Returns the width of the numbers' column.
int DrawMeters(std::pair<double, double> range, const Layout& layout, int top,
               PlotPicture& picture) {
  const auto [low, high] = range;
  const int height = std::max(2, layout.Bottom() - layout.line - kTickLength - top);
  const double step = NiceStep(high - low, std::max(2, height / (2 * layout.line)));
  std::vector<std::pair<double, std::string>> meters;
  int labels_width = layout.measure.width("rows");
  for (double value = std::ceil(low / step) * step; value <= high; value += step) {
    meters.emplace_back(value, TickText(value, step) + " m");
    labels_width = std::max(labels_width, layout.measure.width(meters.back().second));
  }
  const int left = layout.area.left + layout.pad + labels_width + kTickLength + 2;
  picture.frame = {left, top, std::max(2, layout.Right() - left), height};
  for (const auto& [value, text] : meters) {
    const int y = ValueY(value, range, picture.frame);
    picture.ticks.push_back({PlotPoint{left - kTickLength, y}, PlotPoint{left, y}});
    const int width = layout.measure.width(text);
    picture.texts.push_back(
        {{left - kTickLength - 2 - width, y - layout.line / 2, width, layout.line}, text});
  }
  return labels_width;
}

// The `count` data rows from the row `first` (from 0) along the bottom of the frame,
// numbered from 1, under the unit.
void DrawRows(int first, std::size_t count, const Layout& layout, int labels_width,
              PlotPicture& picture) {
  const PlotBox& frame = picture.frame;
  const int label_y = frame.top + frame.height + kTickLength;
  picture.texts.push_back(
      {{layout.area.left + layout.pad, label_y, labels_width, layout.line}, "rows"});
  if (count <= 1) return;
  const double span = static_cast<double>(count - 1);
  const double step =
      std::max(1.0, NiceStep(span, frame.width / std::max(1, 2 * layout.measure.width("00000"))));
  const double shown_first = first + 1, shown_last = shown_first + span;
  for (double row = std::ceil(shown_first / step) * step; row <= shown_last; row += step) {
    const int x =
        frame.left + static_cast<int>(std::lround((row - shown_first) / span * (frame.width - 1)));
    picture.ticks.push_back({PlotPoint{x, frame.top + frame.height}, PlotPoint{x, label_y}});
    const std::string text = TickText(row, step);
    const int width = layout.measure.width(text);
    picture.texts.push_back({{x - width / 2, label_y, width, layout.line}, text});
  }
}

PlotText Message(const std::string& problem, const PlotBox& box, int pad) {
  return {
      {box.left + pad, box.top + pad, box.width - 2 * pad, box.height - 2 * pad}, problem, true};
}

// `lines` from the row `first` to the row `last`, both from 0.
PreviewLines Slice(const PreviewLines& lines, int first, int last) {
  PreviewLines shown = lines;
  const auto cut = [first, last](std::vector<float>& values) {
    const auto end = std::min(values.size(), static_cast<std::size_t>(last) + 1);
    const auto begin = std::min(end, static_cast<std::size_t>(first));
    values = std::vector<float>(values.begin() + static_cast<std::ptrdiff_t>(begin),
                                values.begin() + static_cast<std::ptrdiff_t>(end));
  };
  for (std::vector<float>& values : shown.separations) cut(values);
  for (std::vector<float>& values : shown.on_disk) cut(values);
  return shown;
}

// The row under the pointer in `picture`, of the `count` shown from the row `first`: a line
// across the frame, and the row's number and separations on the line at `top`.
void DrawReadout(const PreviewLines& shown, int first, std::size_t count, const Layout& layout,
                 int pointer_x, int top, PlotPicture& picture) {
  const PlotBox& frame = picture.frame;
  if (count == 0 || pointer_x < frame.left || pointer_x >= frame.left + frame.width) return;
  const double span = static_cast<double>(std::max<std::size_t>(count, 2) - 1);
  const auto row = static_cast<std::size_t>(
      std::clamp<long>(std::lround((pointer_x - frame.left) / double(frame.width - 1) * span), 0,
                       static_cast<long>(count) - 1));
  const int x = frame.left +
                static_cast<int>(std::lround(static_cast<double>(row) / span * (frame.width - 1)));
  picture.cursor = {PlotPoint{x, frame.top}, PlotPoint{x, frame.top + frame.height - 1}};
  // Short, to fit the preview as the window opens: "Row 136 (m): race 1.363, max 5.742, ..."
  constexpr std::array<std::string_view, 5> kShortNames = {"race", "max", "min", "Pass1", "Pass2"};
  std::string text = "Row " + std::to_string(first + static_cast<int>(row) + 1) + " (m):";
  for (std::size_t line = 0; line < shown.separations.size(); ++line) {
    if (row >= shown.separations[line].size()) continue;
    text += std::string(line == 0 ? " " : ", ") + std::string(kShortNames[line]) + " ";
    AppendDecimal(text, shown.separations[line][row]);
  }
  picture.readout = {{layout.area.left + layout.pad, top, layout.measure.width(text), layout.line},
                     text};
}

}  // namespace

int RowCount(const PreviewLines& lines) {
  std::size_t count = 0;
  for (const std::vector<float>& values : lines.separations) count = std::max(count, values.size());
  return static_cast<int>(count);
}

PlotPicture DrawPreview(const PreviewLines& all, PlotBox area, const TextMeasure& measure,
                        const PlotView& view) {
  const auto [first, last] = VisibleRows(view, RowCount(all));
  const PreviewLines lines = Slice(all, first, last);
  PlotPicture picture{};
  const Layout layout{area, measure, measure.line_height, std::max(4, measure.line_height / 2)};
  int top = DrawLegend(lines, layout, picture);
  for (const std::string* text : {&lines.summary, &lines.replaces}) {
    if (picture.texts.empty() || text->empty()) continue;
    picture.texts.push_back(
        {{area.left + layout.pad, top, measure.width(*text), layout.line}, *text});
    top += layout.line;
  }
  if (picture.texts.empty()) {
    picture.message = Message(lines.problem, area, layout.pad);
    return picture;
  }
  const int readout_top = top;  // a line of its own, so that nothing moves as it comes
  top += layout.line;
  const std::pair<double, double> range = ValueRange(lines);
  const int labels_width = DrawMeters(range, layout, top, picture);
  const auto count = static_cast<std::size_t>(RowCount(lines));
  DrawRows(first, count, layout, labels_width, picture);
  for (std::size_t i = 0; i < lines.separations.size(); ++i) {
    picture.traces[i] = Trace(lines.separations[i], picture.frame, range);
  }
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const std::vector<float>& fresh = lines.separations[kInputCount + pass];
    if (fresh.empty() || lines.limit < 0) continue;
    picture.held_spans[pass] =
        HeldSpans(lines.separations[0], lines.separations[1 + pass], lines.limit, picture.frame);
    picture.marks_y[pass] =
        picture.frame.top + picture.frame.height - 7 - 5 * static_cast<int>(pass);
    if (!lines.on_disk[pass].empty()) {
      picture.on_disk[pass] = DifferingRuns(lines.on_disk[pass], fresh, picture.frame, range);
    }
  }
  if (lines.limit >= 0)
    picture.band = Band(lines.separations[0], lines.limit, picture.frame, range);
  if (!lines.problem.empty()) picture.message = Message(lines.problem, picture.frame, layout.pad);
  DrawReadout(lines, first, count, layout, view.pointer_x, readout_top, picture);
  return picture;
}

}  // namespace kelvane
