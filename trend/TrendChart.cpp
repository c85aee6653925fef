#include "trend/TrendChart.h"

#include <QGraphicsSimpleTextItem>
#include <QtCharts/QLegendMarker>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zrv::trend {
namespace {

constexpr UtcSeconds kNarrowestView = 10;
constexpr UtcSeconds kAheadSteps = 50;
constexpr int kValueTicks = 8;
constexpr int kPixelsPerTimeLabel = 100;
// Lines made at the start, so the markers added after them stay on top.
constexpr int kFirstLines = 4;

QPen Pen(QRgb color, qreal width, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen{QColor(color), width, style};
  pen.setCosmetic(true);
  return pen;
}

QLineSeries* MakeLine(const QString& name, QRgb color, qreal width,
                      Qt::PenStyle style = Qt::SolidLine) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setPen(Pen(color, width, style));
  return series;
}

void Scale(QValueAxis* axis, const ValueScale& scale) {
  axis->setRange(scale.low, scale.high);
  axis->setTickAnchor(scale.low);
  axis->setTickInterval(scale.step);
  axis->setLabelFormat(scale.step >= 1 ? "%.0f" : scale.step >= 0.1 ? "%.1f" : "%.2f");
}

}  // namespace

TrendChart::TrendChart()
    : time_(new QCategoryAxis),
      purityAxis_(new QValueAxis),
      temperatureAxis_(new QValueAxis),
      alarmLine_(MakeLine("", kAlarmLineColor, kAlarmLineWidth, Qt::DashLine)),
      shadeEdge_(new QLineSeries(this)),
      shade_(new QAreaSeries(shadeEdge_)),
      notices_(new QScatterSeries),
      empty_(new QGraphicsSimpleTextItem(this)) {
  time_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  time_->setTitleText("Time (local clock)");
  time_->setRange(0, 60);
  for (QValueAxis* axis : {purityAxis_, temperatureAxis_})
    axis->setTickType(QValueAxis::TicksDynamic);
  purityAxis_->setTitleText("Purity (%)");
  purityAxis_->setLabelsColor(QColor(kPurityColor));
  purityAxis_->setTitleBrush(QColor(kPurityColor));
  temperatureAxis_->setTitleText("Temperature (DEG)");
  temperatureAxis_->setGridLineVisible(false);  // the purity grid is enough
  temperatureAxis_->setLabelsColor(QColor(kTemperatureColor));
  temperatureAxis_->setTitleBrush(QColor(kTemperatureColor));
  addAxis(time_, Qt::AlignBottom);
  addAxis(purityAxis_, Qt::AlignLeft);
  addAxis(temperatureAxis_, Qt::AlignRight);

  shade_->setName("Below alarm level");
  shade_->setBrush(QColor(kShadeColor));
  shade_->setPen(Qt::NoPen);
  notices_->setName("E-MAIL ALARM");
  notices_->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
  notices_->setMarkerSize(kNoticeSize);
  notices_->setColor(QColor(kNoticeColor));
  notices_->setBorderColor(QColor(kNoticeEdgeColor));
  QFont font = empty_->font();
  font.setPointSizeF(font.pointSizeF() * kEmptyTextScale);
  empty_->setFont(font);
  empty_->setBrush(QColor(kEmptyTextColor));
  empty_->setZValue(10);

  // Drawn in this order: the shading under everything, the markers on top.
  addSeries(shade_);
  for (int i = 0; i < kFirstLines; ++i) {
    purity_.push_back(MakeLine("", kPurityColor, kPurityWidth));
    temperature_.push_back(MakeLine("", kTemperatureColor, kTemperatureWidth));
  }
  temperature_[0]->setName("Temperature (DEG)");
  purity_[0]->setName("Purity (%)");
  std::vector<QAbstractSeries*> order{shade_};
  order.insert(order.end(), temperature_.begin(), temperature_.end());
  order.insert(order.end(), purity_.begin(), purity_.end());
  order.insert(order.end(), {alarmLine_, notices_});
  for (QAbstractSeries* s : order) {
    if (s != shade_) addSeries(s);
    s->attachAxis(time_);
    const bool isTemperature =
        std::find(temperature_.begin(), temperature_.end(), s) != temperature_.end();
    s->attachAxis(isTemperature ? temperatureAxis_ : purityAxis_);
  }
  for (std::size_t i = 1; i < purity_.size(); ++i)
    for (QLineSeries* s : {purity_[i], temperature_[i]}) legend()->markers(s)[0]->setVisible(false);
  legend()->setAlignment(Qt::AlignBottom);
  SetAlarmLevel(kDefaultAlarmLevel);
  SetEmptyText("No records");

  connect(time_, &QValueAxis::rangeChanged, this, &TrendChart::OnTimeAxisChanged);
  connect(this, &QChart::plotAreaChanged, this, &TrendChart::Redraw);
}

void TrendChart::SetContent(const LogContent* content) {
  content_ = content;
  drawn_.records = SIZE_MAX;  // drawn from other records: draw again
  zoomed_ = false;
  below_ = BelowLevel(below_.Level());
  Refresh();
}

void TrendChart::SetEmptyText(const QString& text) {
  if (text == empty_->text()) return;
  empty_->setText(text);
  Redraw();
}

void TrendChart::Refresh() {
  if (content_ && content_->records.size() < below_.Next()) below_ = BelowLevel(below_.Level());
  const std::size_t stretches = below_.Stretches().size();
  if (content_) below_.Update(content_->records);
  const bool sameStretches = stretches == below_.Stretches().size() &&
                             (!stretches || below_.Stretches().back() == drawn_.lastStretch);
  if (!zoomed_ && FullRange() == visible_ && sameStretches && ChangesNothingDrawn()) return;
  if (zoomed_)
    Redraw();
  else
    ShowRange(FullRange());
}

bool TrendChart::ChangesNothingDrawn() const {
  // Records appended since the last redraw that all fall in the last column
  // drawn, within the lowest and highest value drawn there: what a followed
  // log mostly brings. Then the redraw, over every record, is spared.
  if (!content_ || content_->records.size() < drawn_.records || drawn_.level != below_.Level() ||
      content_->notices.size() != drawn_.notices.size() || content_->runs.size() != drawn_.runs ||
      drawn_.purity.empty() || drawn_.temperature.empty())
    return false;
  const int columns = std::max(1, static_cast<int>(plotArea().width()));
  const auto column = [&](UtcSeconds t) {
    return (t - visible_.from) * columns / std::max<UtcSeconds>(visible_.to - visible_.from, 1);
  };
  const auto within = [&](const Line& line, UtcSeconds t, double v) {
    if (std::isnan(v)) return true;
    double low = INFINITY, high = -INFINITY;
    for (auto p = line.rbegin(); p != line.rend() && column(p->time) == column(t); ++p)
      low = std::min(low, p->value), high = std::max(high, p->value);
    return v >= low && v <= high;
  };
  for (std::size_t i = drawn_.records; i < content_->records.size(); ++i) {
    const Record& r = content_->records[i];
    if (r.Time() > visible_.to || !within(drawn_.purity.back(), r.Time(), r.Purity()) ||
        !within(drawn_.temperature.back(), r.Time(), r.Temperature()))
      return false;
  }
  return true;
}

void TrendChart::SetAlarmLevel(double level) {
  below_ = BelowLevel(level);
  alarmLine_->setName(QString("Alarm level %1 %").arg(level));
  Refresh();
}

TimeRange TrendChart::FullRange() const {
  if (!content_ || !content_->anyTime) return {0, 60};
  UtcSeconds from = content_->first, to = content_->last;
  if (to - from < kNarrowestView) from -= kNarrowestView / 2, to += kNarrowestView / 2;
  // Whole minutes at the start; the end a little ahead of the latest record,
  // on a whole step of about a fiftieth of the span, so a followed log is
  // rescaled once per step rather than at every record.
  from -= ((from % kMinute) + kMinute) % kMinute;
  const UtcSeconds step =
      std::max<UtcSeconds>(kMinute, (to - from) / kAheadSteps / kMinute * kMinute);
  return {from, from + ((to - from) / step + 1) * step};
}

void TrendChart::ShowRange(TimeRange range) {
  const TimeRange full = FullRange();
  const UtcSeconds span = std::clamp(range.to - range.from, kNarrowestView, full.to - full.from);
  range.from = std::clamp(range.from, full.from, full.to - span);
  range.to = range.from + span;
  if (range.from == visible_.from && range.to == visible_.to) {
    Redraw();
    return;
  }
  time_->setRange(double(range.from), double(range.to));
}

void TrendChart::ResetZoom() {
  zoomed_ = false;
  ShowRange(FullRange());
}

UtcSeconds TrendChart::TimeAt(double plotX) const {
  const QRectF area = plotArea();
  const double share = area.width() > 0 ? (plotX - area.left()) / area.width() : 0;
  return visible_.from + std::llround(share * static_cast<double>(visible_.to - visible_.from));
}

void TrendChart::ZoomAround(double plotX, double factor) {
  const UtcSeconds centre = TimeAt(plotX);
  const auto scaled = [&](UtcSeconds t) {
    return centre + std::llround(static_cast<double>(t - centre) * factor);
  };
  ShowRange({scaled(visible_.from), scaled(visible_.to)});
}

void TrendChart::Pan(double fractionOfView) {
  const auto shift =
      std::llround(static_cast<double>(visible_.to - visible_.from) * fractionOfView);
  ShowRange({visible_.from + shift, visible_.to + shift});
}

const Record* TrendChart::NearestRecord(double plotX) const {
  if (!content_) return nullptr;
  const UtcSeconds t = TimeAt(plotX);
  const auto& records = content_->records;
  const Record* nearest = nullptr;
  const auto consider = [&](std::size_t i) {
    if (!nearest || std::llabs(records[i].Time() - t) < std::llabs(nearest->Time() - t))
      nearest = &records[i];
  };
  // Each run is in rising time: its nearest record is beside where t would go.
  for (std::size_t run = 0; run < content_->runs.size(); ++run) {
    const std::size_t begin = content_->runs[run], end = run + 1 < content_->runs.size()
                                                             ? content_->runs[run + 1]
                                                             : records.size();
    const std::size_t at =
        std::lower_bound(records.begin() + begin, records.begin() + end, t,
                         [](const Record& r, UtcSeconds u) { return r.Time() < u; }) -
        records.begin();
    if (at < end) consider(at);
    if (at > begin) consider(at - 1);
  }
  return nearest;
}

void TrendChart::OnTimeAxisChanged() {
  visible_ = {std::llround(time_->min()), std::llround(time_->max())};
  const TimeRange full = FullRange();
  zoomed_ = visible_.from != full.from || visible_.to != full.to;
  Redraw();
}

void TrendChart::DrawLines(std::vector<QLineSeries*>& pool, Field field, QRgb color, qreal width,
                           QValueAxis* axis, int columns) {
  static const LogContent kNothing;
  const LogContent& content = content_ ? *content_ : kNothing;
  const UtcSeconds interval = content.Interval();
  const std::vector<Line> lines = DecimateLines(
      content, field, visible_, columns, interval ? kMissedIntervals * interval : INT64_MAX / 2);
  std::vector<Line>& drawn = field == &Record::Purity ? drawn_.purity : drawn_.temperature;
  if (lines == drawn) return;
  drawn = lines;
  while (pool.size() < lines.size()) {
    QLineSeries* s = MakeLine("", color, width);
    addSeries(s);
    s->attachAxis(time_);
    s->attachAxis(axis);
    legend()->markers(s)[0]->setVisible(false);
    pool.push_back(s);
  }
  for (std::size_t i = 0; i < pool.size(); ++i) {
    QList<QPointF> points;
    if (i < lines.size())
      for (const Point& p : lines[i]) points.append({double(p.time), p.value});
    pool[i]->replace(points);
    pool[i]->setPointsVisible(points.size() == 1);  // a lone record between gaps, as a dot
  }
}

void TrendChart::DrawTimeTicks() {
  const int maxTicks = std::max(2, int(plotArea().width()) / kPixelsPerTimeLabel);
  std::vector<TimeTick> ticks;
  if (content_ && content_->anyTime) ticks = TimeTicks(visible_, maxTicks);
  if (ticks == drawn_.ticks && !ticks.empty()) return;
  drawn_.ticks = ticks;
  time_->setVisible(!ticks.empty());  // an empty chart has no time to label
  for (const QString& label : time_->categoriesLabels()) time_->remove(label);
  time_->setStartValue(double(visible_.from) - 1);
  int n = 0;
  for (const TimeTick& tick : ticks) {
    // Labels must differ: the hour repeated at the end of summer time would not.
    const QString unique(n++, QChar(0x200B));
    QString label = QString::fromStdString(tick.time);
    if (!tick.date.empty()) label += "<br>" + QString::fromStdString(tick.date);
    time_->append(label + unique, double(tick.at));
  }
}

void TrendChart::Redraw() {
  if (redrawing_) return;
  redrawing_ = true;
  static const LogContent kNothing;
  const LogContent& content = content_ ? *content_ : kNothing;
  const ValueScale purity = PurityScale(content.purity, below_.Level(), kValueTicks),
                   temperature = TemperatureScale(content.temperature, kValueTicks);
  const bool rescaled = !(purity == drawn_.purityScale && temperature == drawn_.temperatureScale);
  if (rescaled) {
    Scale(purityAxis_, purity);
    Scale(temperatureAxis_, temperature);
    drawn_.purityScale = purity, drawn_.temperatureScale = temperature;
  }
  const int columns = std::max(1, static_cast<int>(plotArea().width()));
  DrawLines(purity_, &Record::Purity, kPurityColor, kPurityWidth, purityAxis_, columns);
  DrawLines(temperature_, &Record::Temperature, kTemperatureColor, kTemperatureWidth,
            temperatureAxis_, columns);
  DrawTimeTicks();

  const double from = double(visible_.from), to = double(visible_.to);
  const bool moved = !alarmLine_->count() || alarmLine_->at(0).x() != from ||
                     alarmLine_->at(1).x() != to || drawn_.level != below_.Level();
  if (moved) alarmLine_->replace(QList<QPointF>{{from, below_.Level()}, {to, below_.Level()}});
  drawn_.level = below_.Level();

  const double bottom = purity.low, top = purity.high;
  std::vector<TimeRange> shade = ShadeStretches(below_.Stretches(), visible_, columns);
  if (moved || rescaled || shade != drawn_.shade) {
    QList<QPointF> edge{{from, bottom}};
    for (const TimeRange& s : shade)
      edge.append({{double(s.from), bottom},
                   {double(s.from), top},
                   {double(s.to), top},
                   {double(s.to), bottom}});
    edge.append({to, bottom});
    shadeEdge_->replace(edge);
    drawn_.shade = std::move(shade);
  }

  std::vector<UtcSeconds> notices = DecimateTimes(content.notices, visible_, columns);
  if (rescaled || notices != drawn_.notices) {
    QList<QPointF> marks;
    for (UtcSeconds t : notices) marks.append({double(t), bottom + (top - bottom) * 0.03});
    notices_->replace(marks);
    drawn_.notices = std::move(notices);
  }

  drawn_.records = content.records.size();
  drawn_.runs = content.runs.size();
  drawn_.lastStretch = below_.Stretches().empty() ? TimeRange{} : below_.Stretches().back();
  empty_->setVisible(!content.anyTime);
  const QRectF text = empty_->boundingRect();
  empty_->setPos(plotArea().center() - QPointF(text.width() / 2, text.height() / 2));
  redrawing_ = false;
}

}  // namespace zrv::trend
