#include "app/preview_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

// The course of `values` across `frame`: one point per value where each value has a pixel
// column of its own, otherwise the least and the greatest of each column's values, in the
// order they come.
std::vector<PlotPoint> Trace(const std::vector<float>& values, PlotBox frame, double low,
                             double high) {
  const auto y = [&](double value) {
    return frame.top +
           static_cast<int>(std::lround((high - value) / (high - low) * (frame.height - 1)));
  };
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

}  // namespace

PlotPicture DrawPreview(const PreviewLines& lines, PlotBox area, const TextMeasure& measure) {
  PlotPicture picture{};
  const int line = measure.line_height;
  const int pad = std::max(4, line / 2);
  const int right = area.left + area.width - pad;
  const int bottom = area.top + area.height - pad;

  // The legend, its entries flowing across as many rows as they need.
  int x = area.left + pad;
  int y = area.top + pad;
  bool any = false;
  double low = INFINITY;
  double high = -INFINITY;
  for (std::size_t i = 0; i < lines.separations.size(); ++i) {
    const std::vector<float>& values = lines.separations[i];
    if (values.empty()) continue;
    for (const float value : values) {
      low = std::min<double>(low, value);
      high = std::max<double>(high, value);
    }
    const int width = measure.width(kLineNames[i]);
    if (any && x + kSampleWidth + 4 + width > right) {
      x = area.left + pad;
      y += line;
    }
    picture.samples[i] = {PlotPoint{x, y + line / 2}, PlotPoint{x + kSampleWidth, y + line / 2}};
    picture.texts.push_back({{x + kSampleWidth + 4, y, width, line}, std::string(kLineNames[i])});
    x += kSampleWidth + 4 + width + 2 * pad;
    any = true;
  }
  if (!any) {
    picture.message = {
        {area.left + pad, area.top + pad, area.width - 2 * pad, area.height - 2 * pad},
        lines.problem,
        true};
    return picture;
  }

  // The frame's height, then the meters up its left side, whose widest number sets where
  // it begins.
  const int top = y + line + pad;
  const int height = std::max(2, bottom - line - kTickLength - top);
  if (high == low) {
    low -= 1;
    high += 1;
  }
  const double margin = (high - low) / 20;
  low -= margin;
  high += margin;
  const double meters_step = NiceStep(high - low, std::max(2, height / (2 * line)));
  std::vector<std::pair<double, std::string>> meters;
  int labels_width = measure.width("rows");
  for (double value = std::ceil(low / meters_step) * meters_step; value <= high;
       value += meters_step) {
    meters.emplace_back(value, TickText(value, meters_step) + " m");
    labels_width = std::max(labels_width, measure.width(meters.back().second));
  }
  const int left = area.left + pad + labels_width + kTickLength + 2;
  picture.frame = {left, top, std::max(2, right - left), height};
  const PlotBox& frame = picture.frame;
  for (const auto& [value, text] : meters) {
    const int tick_y =
        frame.top +
        static_cast<int>(std::lround((high - value) / (high - low) * (frame.height - 1)));
    picture.ticks.push_back({PlotPoint{left - kTickLength, tick_y}, PlotPoint{left, tick_y}});
    const int width = measure.width(text);
    picture.texts.push_back(
        {{left - kTickLength - 2 - width, tick_y - line / 2, width, line}, text});
  }

  // The data rows along the bottom, numbered from 1.
  std::size_t count = 0;
  for (const std::vector<float>& values : lines.separations) count = std::max(count, values.size());
  const int label_y = frame.top + frame.height + kTickLength;
  picture.texts.push_back({{area.left + pad, label_y, labels_width, line}, "rows"});
  if (count > 1) {
    const double span = static_cast<double>(count - 1);
    const double rows_step =
        std::max(1.0, NiceStep(span, frame.width / std::max(1, 2 * measure.width("00000"))));
    for (double row = rows_step; row <= static_cast<double>(count); row += rows_step) {
      const int tick_x =
          frame.left + static_cast<int>(std::lround((row - 1) / span * (frame.width - 1)));
      picture.ticks.push_back(
          {PlotPoint{tick_x, frame.top + frame.height}, PlotPoint{tick_x, label_y}});
      const std::string text = TickText(row, rows_step);
      const int width = measure.width(text);
      picture.texts.push_back({{tick_x - width / 2, label_y, width, line}, text});
    }
  }

  for (std::size_t i = 0; i < lines.separations.size(); ++i) {
    picture.traces[i] = Trace(lines.separations[i], frame, low, high);
  }
  if (!lines.problem.empty()) {
    picture.message = {
        {frame.left + pad, frame.top + pad, frame.width - 2 * pad, frame.height - 2 * pad},
        lines.problem,
        true};
  }
  return picture;
}

}  // namespace kelvane
