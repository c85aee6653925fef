#include "trend/TrendChart.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace zrv::trend {
namespace {

constexpr CivilSeconds kNarrowestView = 10;

double Ms(CivilSeconds t) {
  return static_cast<double>(t) * 1000.0;
}

QPen Pen(QRgb colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
  QPen pen{QColor(colour), width, style};
  pen.setCosmetic(true);
  return pen;
}

QLineSeries* Line(const QString& name, QRgb colour, qreal width,
                  Qt::PenStyle style = Qt::SolidLine) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setPen(Pen(colour, width, style));
  return series;
}

}  // namespace

void UseLogClock() {
  setenv("TZ", "UTC", 1);
  tzset();
}

TrendChart::TrendChart()
    : time_(new QDateTimeAxis),
      purityAxis_(new QValueAxis),
      temperatureAxis_(new QValueAxis),
      purity_(Line("Purity (%)", kPurityColour, 2)),
      temperature_(Line("Temperature (DEG)", kTemperatureColour, 1.5)),
      alarmLine_(Line("", kAlarmLineColour, 2, Qt::DashLine)),
      shadeEdge_(new QLineSeries(this)),
      shade_(new QAreaSeries(shadeEdge_)),
      notices_(new QScatterSeries) {
  time_->setRange(QDateTime::fromMSecsSinceEpoch(0),
                  QDateTime::fromMSecsSinceEpoch(Ms(visible_.to)));
  time_->setTickCount(7);
  time_->setTitleText("Time (log time stamps)");
  purityAxis_->setTitleText("Purity (%)");
  purityAxis_->setLabelsColor(QColor(kPurityColour));
  purityAxis_->setTitleBrush(QColor(kPurityColour));
  temperatureAxis_->setTitleText("Temperature (DEG)");
  temperatureAxis_->setLabelsColor(QColor(kTemperatureColour));
  temperatureAxis_->setTitleBrush(QColor(kTemperatureColour));
  addAxis(time_, Qt::AlignBottom);
  addAxis(purityAxis_, Qt::AlignLeft);
  addAxis(temperatureAxis_, Qt::AlignRight);

  shade_->setName("Below alarm level");
  shade_->setBrush(QColor(kShadeColour));
  shade_->setPen(Qt::NoPen);
  notices_->setName("E-MAIL ALARM");
  notices_->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
  notices_->setMarkerSize(13);
  notices_->setColor(QColor(kNoticeColour));
  notices_->setBorderColor(QColor(0x7a3c00));

  // Drawn in this order: the shading under everything, the markers on top.
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{shade_, temperature_, purity_,
                                                                    alarmLine_, notices_}) {
    addSeries(s);
    s->attachAxis(time_);
    s->attachAxis(s == temperature_ ? temperatureAxis_ : purityAxis_);
  }
  legend()->setAlignment(Qt::AlignBottom);
  SetAlarmLevel(level_);

  connect(time_, &QDateTimeAxis::rangeChanged, this, &TrendChart::OnTimeAxisChanged);
  connect(this, &QChart::plotAreaChanged, this, &TrendChart::Redraw);
}

void TrendChart::SetContent(const LogContent* content) {
  content_ = content;
  zoomed_ = false;
  Refresh();
}

void TrendChart::Refresh() {
  UpdateValueRanges();
  stretches_ = content_ ? BelowLevel(content_->records, level_) : std::vector<TimeRange>{};
  if (zoomed_)
    Redraw();
  else
    ShowRange(FullRange());
}

void TrendChart::SetAlarmLevel(double level) {
  level_ = level;
  alarmLine_->setName(QString("Alarm level %1 %").arg(level));
  Refresh();
}

TimeRange TrendChart::FullRange() const {
  if (!content_) return {0, 60};
  CivilSeconds from = INT64_MAX, to = INT64_MIN;
  if (!content_->records.empty()) {
    const auto [low, high] =
        std::minmax_element(content_->records.begin(), content_->records.end(),
                            [](const Record& a, const Record& b) { return a.time < b.time; });
    from = low->time, to = high->time;
  }
  for (CivilSeconds t : content_->notices) from = std::min(from, t), to = std::max(to, t);
  if (from > to) return {0, 60};
  if (to - from < kNarrowestView) from -= kNarrowestView / 2, to += kNarrowestView / 2;
  // Whole minutes at the ends put the time labels on round times.
  return {from - from % 60, to + (60 - to % 60) % 60};
}

void TrendChart::ShowRange(TimeRange range) {
  const TimeRange full = FullRange();
  const CivilSeconds span = std::clamp(range.to - range.from, kNarrowestView, full.to - full.from);
  range.from = std::clamp(range.from, full.from, full.to - span);
  range.to = range.from + span;
  if (range.from == visible_.from && range.to == visible_.to) {
    Redraw();
    return;
  }
  time_->setRange(QDateTime::fromMSecsSinceEpoch(range.from * 1000),
                  QDateTime::fromMSecsSinceEpoch(range.to * 1000));
}

void TrendChart::ResetZoom() {
  zoomed_ = false;
  ShowRange(FullRange());
}

CivilSeconds TrendChart::TimeAt(double plotX) const {
  const QRectF area = plotArea();
  const double share = area.width() > 0 ? (plotX - area.left()) / area.width() : 0;
  return visible_.from + std::llround(share * static_cast<double>(visible_.to - visible_.from));
}

void TrendChart::ZoomAround(double plotX, double factor) {
  const CivilSeconds centre = TimeAt(plotX);
  const auto scaled = [&](CivilSeconds t) {
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
  const CivilSeconds t = TimeAt(plotX);
  const Record* nearest = nullptr;
  for (const Record& r : content_->records)
    if (!nearest || std::llabs(r.time - t) < std::llabs(nearest->time - t)) nearest = &r;
  return nearest;
}

void TrendChart::OnTimeAxisChanged() {
  visible_ = {time_->min().toMSecsSinceEpoch() / 1000, time_->max().toMSecsSinceEpoch() / 1000};
  const TimeRange full = FullRange();
  zoomed_ = visible_.from != full.from || visible_.to != full.to;
  const CivilSeconds span = visible_.to - visible_.from;
  time_->setFormat(span > 2 * 86400 ? "MM/dd hh:mm" : span > 600 ? "hh:mm" : "hh:mm:ss");
  Redraw();
}

void TrendChart::UpdateValueRanges() {
  const auto range = [this](double Record::*field, double extra, Span empty) {
    double low = extra, high = extra;
    bool any = !std::isnan(extra);
    if (content_)
      for (const Record& r : content_->records) {
        const double v = r.*field;
        if (std::isnan(v)) continue;
        low = any ? std::min(low, v) : v, high = any ? std::max(high, v) : v, any = true;
      }
    if (!any) return empty;
    const double pad = std::max((high - low) * 0.05, 0.5);
    return Span{low - pad, high + pad};
  };
  purityRange_ = range(&Record::purity, level_, {0, 100});
  temperatureRange_ = range(&Record::temperature, std::nan(""), {0, 50});
}

void TrendChart::Redraw() {
  if (redrawing_) return;
  redrawing_ = true;
  purityAxis_->setRange(purityRange_.low, purityRange_.high);
  temperatureAxis_->setRange(temperatureRange_.low, temperatureRange_.high);
  const int columns = std::max(1, static_cast<int>(plotArea().width()));
  const std::vector<Record> none;
  const auto& records = content_ ? content_->records : none;

  const auto draw = [&](QLineSeries* series, double Record::*field) {
    QList<QPointF> points;
    for (const Point& p : DecimateMinMax(records, field, visible_, columns))
      points.append({Ms(p.time), p.value});
    series->replace(points);
  };
  draw(purity_, &Record::purity);
  draw(temperature_, &Record::temperature);

  const double from = Ms(visible_.from), to = Ms(visible_.to);
  alarmLine_->replace(QList<QPointF>{{from, level_}, {to, level_}});

  const double bottom = purityRange_.low, top = purityRange_.high;
  QList<QPointF> edge{{from, bottom}};
  for (const TimeRange& s : ShadeStretches(stretches_, visible_, columns))
    edge.append({{Ms(s.from), bottom}, {Ms(s.from), top}, {Ms(s.to), top}, {Ms(s.to), bottom}});
  edge.append({to, bottom});
  shadeEdge_->replace(edge);

  QList<QPointF> marks;
  if (content_)
    for (CivilSeconds t : DecimateTimes(content_->notices, visible_, columns))
      marks.append({Ms(t), bottom + (top - bottom) * 0.03});
  notices_->replace(marks);
  redrawing_ = false;
}

}  // namespace zrv::trend
