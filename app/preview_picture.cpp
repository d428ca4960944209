#include "app/preview_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "passlines/separation_move.h"

namespace kelvane {

namespace {

constexpr int kSampleWidth = 20;  // the piece of pen in the legend
constexpr int kTickLength = 4;
constexpr int kMarkHeight = 4;

// The room around the picture and between its parts.
int Pad(const TextMeasure& measure) { return std::max(4, measure.line_height / 2); }

// The pixel column of the cursor at the pixel column `x`: that of the row under it.
int CursorColumn(const PreviewPicture& picture, int x) {
  return picture.columns.Column(picture.columns.Row(x));
}
// Pen widths: the pass lines wider than the lines they are made of.
constexpr std::array<int, 5> kPenWidths = {1, 1, 1, 2, 2};

Primitive Line(Ink ink, std::vector<Point> points, int width = 1, Dash dash = Dash::kSolid) {
  return {Shape::kLine, ink, std::move(points), {}, {}, width, dash};
}
Primitive Fill(Ink ink, Box box) { return {Shape::kBox, ink, {}, box, {}}; }
Primitive Text(Box box, std::string text) {
  return {Shape::kText, Ink::kText, {}, box, std::move(text)};
}

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

// The pixel row of each value in the frame, the range's top at its top.
struct ValueRows {
  std::pair<double, double> range;
  Box frame;
  int operator()(double value) const {
    const auto [low, high] = range;
    return frame.top +
           static_cast<int>(std::lround((high - value) / (high - low) * (frame.height - 1)));
  }
};

// Calls `visit(x, first, end)` for each pixel column that holds rows, from left to right,
// with the rows [first, end) of the `count` that stand in it.
template <typename Visit>
void ForEachColumn(std::size_t count, const RowColumns& columns, Visit visit) {
  for (std::size_t row = 0; row < count;) {
    const std::size_t end = std::min(count, columns.NextColumnRow(row));
    visit(columns.Column(row), row, end);
    row = end;
  }
}

// Adds the points of `values`' rows [first, end), which stand in the column `x`: the row
// itself where it stands alone, else the least and the greatest of them, the one nearer the
// last point first, so that the course runs down or up each column once.
void AddColumn(const std::vector<float>& values, std::size_t first, std::size_t end, int x,
               const ValueRows& y, std::vector<Point>& points) {
  const auto begin = values.begin();
  const auto [least, greatest] = std::minmax_element(begin + static_cast<std::ptrdiff_t>(first),
                                                     begin + static_cast<std::ptrdiff_t>(end));
  const int low = y(*least), high = y(*greatest);
  if (end - first == 1 || low == high) {
    points.push_back({x, low});
    return;
  }
  const bool down =
      points.empty() || std::abs(points.back().y - high) < std::abs(points.back().y - low);
  points.push_back({x, down ? high : low});
  points.push_back({x, down ? low : high});
}

// The course of `values` across the columns.
std::vector<Point> Trace(const std::vector<float>& values, const RowColumns& columns,
                         const ValueRows& y) {
  std::vector<Point> points;
  ForEachColumn(values.size(), columns, [&](int x, std::size_t first, std::size_t end) {
    AddColumn(values, first, end, x, y, points);
  });
  return points;
}

// The course of `disk` where it differs from `fresh`, in runs on Trace's points; a lone
// point as a short dash.
std::vector<std::vector<Point>> DifferingRuns(const std::vector<float>& disk,
                                              const std::vector<float>& fresh,
                                              const RowColumns& columns, const ValueRows& y) {
  std::vector<std::vector<Point>> runs(1);
  ForEachColumn(disk.size(), columns, [&](int x, std::size_t first, std::size_t end) {
    bool differs = false;
    for (std::size_t row = first; row < end; ++row) {
      differs = differs || row >= fresh.size() || disk[row] != fresh[row];
    }
    if (!differs) {
      if (!runs.back().empty()) runs.emplace_back();
      return;
    }
    AddColumn(disk, first, end, x, y, runs.back());
  });
  if (runs.back().empty()) runs.pop_back();
  for (std::vector<Point>& run : runs) {
    if (run.size() == 1) run = {{run[0].x - 2, run[0].y}, {run[0].x + 2, run[0].y}};
  }
  return runs;
}

// The runs of pixel columns, first and last, where `limit` holds back the pass line of
// `race` toward `companion`: each row's from its column to the next row's.
std::vector<std::array<int, 2>> HeldSpans(const std::vector<float>& race,
                                          const std::vector<float>& companion, float limit,
                                          const RowColumns& columns) {
  std::vector<std::array<int, 2>> spans;
  const std::size_t count = std::min(race.size(), companion.size());
  for (std::size_t row = 0; row < count; ++row) {
    if (!HeldByLimit(race[row], companion[row], limit)) continue;
    const int from = columns.Column(row);
    const int to = row + 1 < count ? std::max(from, columns.Column(row + 1) - 1) : from;
    if (!spans.empty() && spans.back()[1] >= from - 1) {
      spans.back()[1] = std::max(spans.back()[1], to);
    } else {
      spans.push_back({from, to});
    }
  }
  return spans;
}

// The band of race ± limit, kept inside the frame: the upper edge rightward, then the lower
// edge back, one point a column on each, the outermost: an outline that never crosses
// itself, which painters fill many times faster.
std::vector<Point> Band(const std::vector<float>& race, float limit, const RowColumns& columns,
                        const ValueRows& y) {
  const auto inside = [&y](double value) {
    return y(std::clamp(value, y.range.first, y.range.second));
  };
  std::vector<Point> upper, lower;
  ForEachColumn(race.size(), columns, [&](int x, std::size_t first, std::size_t end) {
    const auto [least, greatest] =
        std::minmax_element(race.begin() + static_cast<std::ptrdiff_t>(first),
                            race.begin() + static_cast<std::ptrdiff_t>(end));
    upper.push_back({x, inside(double{*greatest} + limit)});
    lower.push_back({x, inside(double{*least} - limit)});
  });
  upper.insert(upper.end(), lower.rbegin(), lower.rend());
  return upper;
}

// `text` broken at spaces into lines no wider than `width` where it can be, each word
// measured once.
std::vector<std::string> Wrapped(const std::string& text, int width, const TextMeasure& measure) {
  if (measure.width(text) <= width) return {text};
  const int space = measure.width(" ");
  std::vector<std::string> lines(1);
  int used = 0;  // the last line's width
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = std::string_view(text).substr(start, end - start);
    const int needs = measure.width(word);
    if (!lines.back().empty() && used + space + needs > width) {
      lines.emplace_back();
      used = 0;
    }
    if (!lines.back().empty()) {
      lines.back() += ' ';
      used += space;
    }
    lines.back() += word;
    used += needs;
    start = end + 1;
  }
  return lines;
}

// What the readout says of `row`, from 0: "Row 136, line 139 (m): race 1.363, max 5.742, ...,
// Pass1 3.553 (on disk 9.5)", with the file's line where every file has the row on the same
// line, and the value on disk where it differs. With a `widest` value, each
// value is written so and every pass line on disk said: the readout as long as it can be.
std::string Readout(const PreviewLines& lines, std::size_t row, const char* widest = nullptr) {
  std::string text = "Row " + (widest ? Eights(row) : std::to_string(row + 1));
  if (widest || (row < lines.row_lines.size() && lines.row_lines[row] > 0)) {
    text.append(", line ").append(widest ? Eights(row) : std::to_string(lines.row_lines[row]));
  }
  text.append(" (m):");
  for (std::size_t line = 0; line < lines.separations.size(); ++line) {
    if (row >= lines.separations[line].size() && !widest) continue;
    const std::vector<float>* disk =
        line < kInputCount ? nullptr : &lines.on_disk[line - kInputCount];
    const float value = widest ? 0 : lines.separations[line][row];
    text.append(line == 0 ? " " : ", ").append(kShortLineNames[line]).append(" ");
    text.append(widest ? widest : Millimetres(value));
    if (disk && (widest ? !disk->empty() : row < disk->size() && (*disk)[row] != value)) {
      text.append(" (on disk ").append(widest ? widest : Millimetres((*disk)[row])).append(")");
    }
  }
  return text;
}

// The readout as long as it can be for rows up to `rows` with values in `range`.
std::string ReadoutMould(const PreviewLines& lines, std::size_t rows,
                         std::pair<double, double> range) {
  const double farthest = std::max(std::fabs(range.first), std::fabs(range.second));
  std::string widest(range.first < 0 ? "-" : "");
  widest.append(Eights(static_cast<std::size_t>(std::min(farthest, 1e12)))).append(".888");
  return Readout(lines, rows, widest.c_str());
}

// The picture as it is laid out: its parts, put in paint order at the end.
struct Layout {
  Box area;
  const TextMeasure& measure;
  int line;  // a line of text's height
  int pad;   // Pad(measure)
  PreviewPicture picture{};
  std::vector<Primitive> texts;  // the frame, the ticks and every text but the message
  int Right() const { return area.left + area.width - pad; }
  int Bottom() const { return area.top + area.height - pad; }
  void AddText(int left, int top, std::string text) {
    const int width = measure.width(text);
    texts.push_back(Text({left, top, width, line}, std::move(text)));
  }
};

// The legend across the top, its entries flowing across as many rows as they need: every
// line's once the race line is shown, so that a refused limit moves nothing; each entry's
// piece of pen among `samples`. Returns the y under it.
int LayOutLegend(const PreviewLines& lines, Layout& layout, std::array<Primitive, 5>& samples) {
  int x = layout.area.left + layout.pad;
  int y = layout.area.top + layout.pad;
  bool any = false;
  for (std::size_t i = 0; i < lines.separations.size(); ++i) {
    if (lines.separations[i].empty() && lines.separations[0].empty()) continue;
    const int width = layout.measure.width(kLineNames[i]);
    if (any && x + kSampleWidth + 4 + width > layout.Right()) {
      x = layout.area.left + layout.pad;
      y += layout.line;
    }
    const int middle = y + layout.line / 2;
    samples[i] = Line(kLineInks[i], {{x, middle}, {x + kSampleWidth, middle}}, kPenWidths[i]);
    layout.AddText(x + kSampleWidth + 4, y, std::string(kLineNames[i]));
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
// sets where the frame begins; sets the frame.
void LayOutMeters(std::pair<double, double> range, Layout& layout, int top) {
  const auto [low, high] = range;
  const int height = std::max(2, layout.Bottom() - layout.line - kTickLength - top);
  double step = NiceStep(high - low, std::max(2, height / (2 * layout.line)));
  // Finer, down to three ticks, as long as they stay a line apart.
  const auto ticks = [&range](double each) {
    return std::floor(range.second / each) - std::ceil(range.first / each);
  };
  const auto finer = [](double each) {  // the next step of 1, 2 or 5 times a power of ten
    return each *
           (std::lround(each / std::pow(10.0, std::floor(std::log10(each)))) == 5 ? 0.4 : 0.5);
  };
  while (ticks(step) < 2 && finer(step) / (high - low) * height >= layout.line) step = finer(step);
  std::vector<std::pair<double, std::string>> meters;
  int labels_width = layout.measure.width("rows");
  for (double value = std::ceil(low / step) * step; value <= high; value += step) {
    meters.emplace_back(value, TickText(value, step) + " m");
    labels_width = std::max(labels_width, layout.measure.width(meters.back().second));
  }
  const int left = layout.area.left + layout.pad + labels_width + kTickLength + 2;
  const Box frame{left, top, std::max(2, layout.Right() - left), height};
  layout.picture.frame = frame;
  const int right = left + frame.width - 1, bottom = top + frame.height - 1;
  layout.texts.push_back(
      Line(Ink::kText, {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}));
  for (const auto& [value, text] : meters) {
    const int y = ValueRows{range, frame}(value);
    layout.texts.push_back(Line(Ink::kText, {{left - kTickLength, y}, {left, y}}));
    layout.AddText(left - kTickLength - 2 - layout.measure.width(text), y - layout.line / 2, text);
  }
}

// The rows in view along the bottom of the frame, numbered from 1, under the unit.
void LayOutRows(Layout& layout) {
  const PreviewPicture& picture = layout.picture;
  const Box& frame = picture.frame;
  const int label_y = frame.top + frame.height + kTickLength;
  layout.AddText(layout.area.left + layout.pad, label_y, "rows");
  const std::size_t count = picture.columns.count();
  if (count <= 1) return;
  const double step =
      std::max(1.0, NiceStep(static_cast<double>(count - 1),
                             frame.width / std::max(1, 2 * layout.measure.width("00000"))));
  const auto step_rows = static_cast<std::size_t>(step);
  const auto first = static_cast<std::size_t>(picture.first_row) + 1;  // as numbered
  for (std::size_t row = (first + step_rows - 1) / step_rows * step_rows; row < first + count;
       row += step_rows) {
    const int x = picture.columns.Column(row - first);
    layout.texts.push_back(Line(Ink::kText, {{x, frame.top + frame.height}, {x, label_y}}));
    const std::string text = TickText(static_cast<double>(row), step);
    const int width = layout.measure.width(text);  // centred, but inside the area
    layout.AddText(std::min(x - width / 2, layout.Right() + layout.pad - width), label_y, text);
  }
}

// Why lines are missing, wrapped in `box` over a box of the background.
void AddMessage(const std::string& problem, const Box& box, const Layout& layout,
                std::vector<Primitive>& primitives) {
  const std::vector<std::string> lines = Wrapped(problem, box.width, layout.measure);
  const auto fit =
      std::clamp<std::size_t>(static_cast<std::size_t>(box.height / layout.line), 1, lines.size());
  int widest = 0;
  for (std::size_t i = 0; i < fit; ++i) widest = std::max(widest, layout.measure.width(lines[i]));
  primitives.push_back(
      Fill(Ink::kBackground, {box.left, box.top, std::min(widest, box.width),
                              std::min(static_cast<int>(fit) * layout.line, box.height)}));
  for (std::size_t i = 0; i < fit; ++i) {
    primitives.push_back(Text({box.left, box.top + static_cast<int>(i) * layout.line,
                               layout.measure.width(lines[i]), layout.line},
                              lines[i]));
  }
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

// The lines' courses over the frame, in paint order: the band, the marks where the limit
// holds, the pass lines on disk where they differ, then each line with its legend's pen.
void AddCourses(const PreviewLines& lines, const ValueRows& y, const RowColumns& columns,
                const std::array<Primitive, 5>& samples, std::vector<Primitive>& primitives) {
  if (lines.limit >= 0) {
    primitives.push_back(
        {Shape::kArea, Ink::kBand, Band(lines.separations[0], lines.limit, columns, y), {}, {}});
  }
  for (std::size_t pass = 0; pass < 2 && lines.limit >= 0; ++pass) {
    const int top =
        y.frame.top + y.frame.height - 12 + 5 * static_cast<int>(pass);  // as the legend
    for (const auto& [from, to] :
         HeldSpans(lines.separations[0], lines.separations[1 + pass], lines.limit, columns)) {
      primitives.push_back(
          Fill(kLineInks[kInputCount + pass], {from, top, to - from + 1, kMarkHeight}));
    }
  }
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const std::vector<float>& fresh = lines.separations[kInputCount + pass];
    if (fresh.empty() || lines.on_disk[pass].empty()) continue;
    // Each run also marked along the top of the frame, 3 px wide at least: one row of
    // 32,764 stands out there too.
    const int top = y.frame.top + 1 + 5 * static_cast<int>(pass);
    for (std::vector<Point>& run : DifferingRuns(lines.on_disk[pass], fresh, columns, y)) {
      const int width = std::max(run.back().x - run.front().x + 1, 3);
      primitives.push_back(Fill(kLineInks[kInputCount + pass],
                                {run.front().x - (width == 3 ? 1 : 0), top, width, kMarkHeight}));
      primitives.push_back(Line(kLineInks[kInputCount + pass], std::move(run), 1, Dash::kDashed));
    }
  }
  for (std::size_t i = 0; i < lines.separations.size(); ++i) {
    if (lines.separations[i].empty()) continue;
    primitives.push_back(samples[i]);
    primitives.push_back(
        Line(kLineInks[i], Trace(lines.separations[i], columns, y), kPenWidths[i]));
  }
}

}  // namespace

int RowCount(const PreviewLines& lines) {
  std::size_t count = 0;
  for (const std::vector<float>& values : lines.separations) count = std::max(count, values.size());
  return static_cast<int>(count);
}

PreviewPicture LayOutPreview(const PreviewLines& all, Box area, const TextMeasure& measure,
                             const PlotView& view) {
  const auto [first, last] = VisibleRows(view, RowCount(all));
  const PreviewLines lines = Slice(all, first, last);
  Layout layout{area, measure, measure.line_height, Pad(measure), {}, {}};
  std::vector<Primitive>& primitives = layout.picture.primitives;
  primitives.push_back(Fill(Ink::kBackground, area));
  std::array<Primitive, 5> samples{};
  int top = LayOutLegend(lines, layout, samples);
  if (layout.texts.empty()) {
    AddMessage(lines.problem,
               {area.left + layout.pad, area.top + layout.pad, area.width - 2 * layout.pad,
                area.height - 2 * layout.pad},
               layout, primitives);
    return std::move(layout.picture);
  }
  // The texts, in room for the longest they can grow to as the limit is typed; the readout
  // in room for its longest, so that nothing moves as it comes and goes.
  const int width = area.width - 2 * layout.pad;
  const auto longest = std::max_element(
      lines.moulds.begin(), lines.moulds.end(),
      [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  std::size_t room = longest == lines.moulds.end() ? 0 : Wrapped(*longest, width, measure).size();
  for (std::string& line : Wrapped(PreviewDescription(lines), width, measure)) {
    layout.AddText(area.left + layout.pad, top, std::move(line));
    top += layout.line;
    room = room > 0 ? room - 1 : 0;
  }
  top += static_cast<int>(room) * layout.line;
  const std::pair<double, double> range = ValueRange(lines);
  const int readout_lines = static_cast<int>(
      Wrapped(ReadoutMould(lines, static_cast<std::size_t>(RowCount(all)), range), width, measure)
          .size());
  layout.picture.readout = {area.left, top, area.width, readout_lines * layout.line};
  top += readout_lines * layout.line;
  LayOutMeters(range, layout, top);
  layout.picture.columns =
      RowColumns(static_cast<std::size_t>(RowCount(lines)), layout.picture.frame);
  layout.picture.first_row = first;
  LayOutRows(layout);
  const ValueRows y{range, layout.picture.frame};
  std::vector<Primitive> courses;
  AddCourses(lines, y, layout.picture.columns, samples, courses);
  // The band lies under the frame and the texts; the rest over them.
  const auto band = courses.begin() + (lines.limit >= 0 ? 1 : 0);
  primitives.insert(primitives.end(), courses.begin(), band);
  primitives.insert(primitives.end(), layout.texts.begin(), layout.texts.end());
  primitives.insert(primitives.end(), band, courses.end());
  return std::move(layout.picture);
}

std::vector<Primitive> LayOutPointer(const PreviewLines& lines, const PreviewPicture& picture,
                                     int pointer_x, const TextMeasure& measure) {
  const Box& frame = picture.frame;
  const RowColumns& columns = picture.columns;
  if (columns.count() == 0 || pointer_x < frame.left || pointer_x >= frame.left + frame.width) {
    return {};
  }
  const std::size_t row = static_cast<std::size_t>(picture.first_row) + columns.Row(pointer_x);
  const int x = CursorColumn(picture, pointer_x);
  const Box& place = picture.readout;
  const int pad = Pad(measure);
  std::vector<Primitive> layer = {
      Line(Ink::kText, {{x, frame.top}, {x, frame.top + frame.height - 1}}, 1, Dash::kDotted)};
  std::vector<std::string> texts = Wrapped(Readout(lines, row), place.width - 2 * pad, measure);
  texts.resize(std::min<std::size_t>(texts.size(),
                                     static_cast<std::size_t>(place.height / measure.line_height)));
  int widest = 0;
  for (const std::string& text : texts) widest = std::max(widest, measure.width(text));
  layer.push_back(Fill(Ink::kBackground, {place.left + pad - 2, place.top, widest + 4,
                                          static_cast<int>(texts.size()) * measure.line_height}));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const int top = place.top + static_cast<int>(i) * measure.line_height;
    const int width = measure.width(texts[i]);
    layer.push_back(Text({place.left + pad, top, width, measure.line_height}, std::move(texts[i])));
  }
  return layer;
}

std::array<Box, 3> PointerBoxes(const PreviewPicture& picture, int from, int to) {
  const auto cursor = [&picture](int x) {
    return Box{CursorColumn(picture, x), picture.frame.top, 1, picture.frame.height};
  };
  return {cursor(from), cursor(to), picture.readout};
}

Box PreviewFirstSize(const TextMeasure& measure, int offered) {
  const int width = std::max(offered, 56 * measure.width("0"));
  const int tall = 40 * measure.line_height;  // room for the texts; few ticks to measure
  const PreviewPicture picture = LayOutPreview(LongestLines(), {0, 0, width, tall}, measure);
  // Eight lines of plot: ticks a line to two and a half apart make three at least.
  return {0, 0, width, tall - picture.frame.height + 8 * measure.line_height};
}

}  // namespace kelvane
