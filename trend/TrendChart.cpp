#include "trend/TrendChart.h"

#include <QGraphicsSimpleTextItem>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace zrv::trend {
namespace {

constexpr UtcSeconds kNarrowestView = 10;
constexpr UtcSeconds kAheadSteps = 50;
constexpr int kValueTicks = 8;
constexpr int kPixelsPerTimeLabel = 100;
// Lines made at the start, so the markers added after them stay on top.
constexpr int kFirstLines = 4;
// The e-mail alarms' markers sit this share of the purity axis above its
// bottom, on the time axis but clear of it.
constexpr double kNoticeLift = 0.03;
// Over the series and the grid.
constexpr qreal kEmptyTextZ = 10;
constexpr QChar kZeroWidthSpace{0x200B};

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

// An element whose content is a plain value, compared with the one applied.
template <typename Content>
class Drawn : public ChartElement {
 public:
  bool Compute(const DrawInput& in) override {
    next_ = Make(in);
    return applied_ != next_;
  }
  void Apply() final {
    Show(next_);
    applied_ = std::move(next_);
  }

 protected:
  virtual Content Make(const DrawInput& in) const = 0;
  virtual void Show(const Content& content) = 0;
  const std::optional<Content>& Applied() const { return applied_; }

 private:
  Content next_{};
  std::optional<Content> applied_;
};

struct Scales {
  ValueScale purity, temperature;
  bool operator==(const Scales&) const = default;
};

class ValueAxes final : public Drawn<Scales> {
 public:
  ValueAxes(QValueAxis* purity, QValueAxis* temperature)
      : purity_(purity), temperature_(temperature) {}

 private:
  Scales Make(const DrawInput& in) const override { return {in.purity, in.temperature}; }
  void Show(const Scales& scales) override {
    Scale(purity_, scales.purity);
    Scale(temperature_, scales.temperature);
  }
  static void Scale(QValueAxis* axis, const ValueScale& scale) {
    axis->setRange(scale.low, scale.high);
    axis->setTickAnchor(scale.low);
    axis->setTickInterval(scale.step);
    axis->setLabelFormat(scale.step >= 1 ? "%.0f" : scale.step >= 0.1 ? "%.1f" : "%.2f");
  }

  QValueAxis* purity_;
  QValueAxis* temperature_;
};

// The lines of one field, a series per stretch; more series are made when
// more stretches show, like the first ones.
class Lines final : public Drawn<std::vector<Line>> {
 public:
  Lines(QChart& chart, Field field, std::vector<QLineSeries*> pool)
      : chart_(chart), field_(field), pool_(std::move(pool)) {}

  bool Compute(const DrawInput& in) override {
    if (OnlyWithinLastColumn(in)) return false;
    source_ = SourceOf(in);
    records_ = in.content.records.size();
    return Drawn::Compute(in);
  }

 private:
  // What the lines were decimated from besides the records: the same log, its
  // runs, the view and the interval (a gap is a number of intervals).
  struct Source {
    unsigned contentGeneration;
    std::size_t runs;
    TimeRange visible;
    int columns;
    UtcSeconds interval;
    bool operator==(const Source&) const = default;
  };
  static Source SourceOf(const DrawInput& in) {
    return {in.contentGeneration, in.content.runs.size(), in.visible, in.columns,
            in.content.Interval()};
  }

  // Records appended since the lines were decimated that all fall in the last
  // column drawn, within the lowest and highest value drawn there: what a
  // followed log mostly brings. Then decimating every record again is spared.
  bool OnlyWithinLastColumn(const DrawInput& in) {
    const std::vector<Record>& records = in.content.records;
    if (!Applied() || records.size() < records_ || SourceOf(in) != source_) return false;
    const TimeRange& visible = in.visible;
    const auto column = [&](UtcSeconds t) {
      return (t - visible.from) * in.columns / std::max<UtcSeconds>(visible.to - visible.from, 1);
    };
    const auto within = [&](const Line& line, UtcSeconds t, double v) {
      if (std::isnan(v)) return true;
      double low = INFINITY, high = -INFINITY;
      for (auto p = line.rbegin(); p != line.rend() && column(p->time) == column(t); ++p)
        low = std::min(low, p->value), high = std::max(high, p->value);
      return v >= low && v <= high;
    };
    for (std::size_t i = records_; i < records.size(); ++i) {
      const Record& r = records[i];
      if (Applied()->empty() || r.Time() > visible.to ||
          !within(Applied()->back(), r.Time(), (r.*field_)()))
        return false;
    }
    records_ = records.size();
    return true;
  }

  std::vector<Line> Make(const DrawInput& in) const override {
    const UtcSeconds interval = in.content.Interval();
    return DecimateLines(in.content, field_, in.visible, in.columns,
                         interval ? kMissedIntervals * interval : INT64_MAX / 2);
  }

  void Show(const std::vector<Line>& lines) override {
    while (pool_.size() < lines.size()) {
      auto* s = new QLineSeries;
      s->setPen(pool_[0]->pen());
      chart_.addSeries(s);
      for (QAbstractAxis* axis : pool_[0]->attachedAxes()) s->attachAxis(axis);
      chart_.legend()->markers(s)[0]->setVisible(false);
      pool_.push_back(s);
    }
    // A followed log mostly changes its last line only: the others keep their
    // points and are not handed to Qt again.
    static const Line kNone;
    for (std::size_t i = 0; i < pool_.size(); ++i) {
      const Line& line = i < lines.size() ? lines[i] : kNone;
      const Line& before = Applied() && i < Applied()->size() ? (*Applied())[i] : kNone;
      if (Applied() && line == before) continue;
      QList<QPointF> points;
      points.reserve(qsizetype(line.size()));
      for (const Point& p : line) points.append({double(p.time), p.value});
      pool_[i]->replace(points);
      pool_[i]->setPointsVisible(points.size() == 1);  // a lone record between gaps, as a dot
    }
  }

  QChart& chart_;
  Field field_;
  std::vector<QLineSeries*> pool_;  // the first names the line in the legend
  Source source_{};
  std::size_t records_ = 0;  // taken into the lines
};

struct Ticks {
  std::vector<TimeTick> ticks;
  UtcSeconds start;
  // The ticks alone tell a change; the start goes along with them.
  bool operator==(const Ticks& other) const { return ticks == other.ticks; }
};

class TimeLabels final : public Drawn<Ticks> {
 public:
  explicit TimeLabels(QCategoryAxis* axis) : axis_(axis) {}

 private:
  Ticks Make(const DrawInput& in) const override {
    const int maxTicks = std::max(2, int(in.plot.width()) / kPixelsPerTimeLabel);
    Ticks made{{}, in.visible.from - 1};
    if (in.content.anyTime) made.ticks = TimeTicks(in.visible, maxTicks);
    return made;
  }
  void Show(const Ticks& made) override {
    axis_->setVisible(!made.ticks.empty());  // an empty chart has no time to label
    for (const QString& label : axis_->categoriesLabels()) axis_->remove(label);
    axis_->setStartValue(double(made.start));
    int n = 0;
    for (const TimeTick& tick : made.ticks) {
      // Labels must differ: the hour repeated at the end of summer time would not.
      const QString unique(n++, kZeroWidthSpace);
      QString label = QString::fromStdString(tick.time);
      if (!tick.date.empty()) label += "<br>" + QString::fromStdString(tick.date);
      axis_->append(label + unique, double(tick.at));
    }
  }

  QCategoryAxis* axis_;
};

struct Level {
  TimeRange visible;
  double level;
  bool operator==(const Level&) const = default;
};

class AlarmLevelLine final : public Drawn<Level> {
 public:
  explicit AlarmLevelLine(QLineSeries* line) : line_(line) {}

 private:
  Level Make(const DrawInput& in) const override { return {in.visible, in.below.Level()}; }
  void Show(const Level& made) override {
    line_->setName(QString("Alarm level %1 %").arg(made.level));
    line_->replace(QList<QPointF>{{double(made.visible.from), made.level},
                                  {double(made.visible.to), made.level}});
  }

  QLineSeries* line_;
};

struct Shade {
  TimeRange visible;
  std::vector<TimeRange> stretches;
  double bottom, top;
  bool operator==(const Shade&) const = default;
};

class Shading final : public Drawn<Shade> {
 public:
  explicit Shading(QLineSeries* edge) : edge_(edge) {}

 private:
  Shade Make(const DrawInput& in) const override {
    return {in.visible, ShadeStretches(in.below.Stretches(), in.visible, in.columns), in.purity.low,
            in.purity.high};
  }
  void Show(const Shade& made) override {
    const double bottom = made.bottom, top = made.top;
    QList<QPointF> edge{{double(made.visible.from), bottom}};
    for (const TimeRange& s : made.stretches)
      edge.append({{double(s.from), bottom},
                   {double(s.from), top},
                   {double(s.to), top},
                   {double(s.to), bottom}});
    edge.append({double(made.visible.to), bottom});
    edge_->replace(edge);
  }

  QLineSeries* edge_;
};

struct Marks {
  std::vector<UtcSeconds> times;
  double height;
  bool operator==(const Marks&) const = default;
};

class NoticeMarks final : public Drawn<Marks> {
 public:
  explicit NoticeMarks(QScatterSeries* marks) : marks_(marks) {}

 private:
  Marks Make(const DrawInput& in) const override {
    return {DecimateTimes(in.content.notices, in.visible, in.columns),
            in.purity.low + (in.purity.high - in.purity.low) * kNoticeLift};
  }
  void Show(const Marks& made) override {
    QList<QPointF> marks;
    for (UtcSeconds t : made.times) marks.append({double(t), made.height});
    marks_->replace(marks);
  }

  QScatterSeries* marks_;
};

struct Note {
  bool shown;
  QPointF at;
  bool operator==(const Note&) const = default;
};

class EmptyNote final : public Drawn<Note> {
 public:
  explicit EmptyNote(QGraphicsSimpleTextItem* text) : text_(text) {}

 private:
  Note Make(const DrawInput& in) const override {
    const QRectF size = text_->boundingRect();
    return {!in.content.anyTime, in.plot.center() - QPointF(size.width() / 2, size.height() / 2)};
  }
  void Show(const Note& made) override {
    text_->setVisible(made.shown);
    text_->setPos(made.at);
  }

  QGraphicsSimpleTextItem* text_;
};

}  // namespace

TrendChart::TrendChart()
    : time_(new QCategoryAxis),
      purityAxis_(new QValueAxis),
      temperatureAxis_(new QValueAxis),
      empty_(new QGraphicsSimpleTextItem(this)) {
  time_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  time_->setTitleText("Time (local clock)");
  time_->setRange(double(kNoTime.from), double(kNoTime.to));
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

  auto* shadeEdge = new QLineSeries(this);
  auto* shade = new QAreaSeries(shadeEdge);
  shade->setName("Below alarm level");
  shade->setBrush(QColor(kShadeColor));
  shade->setPen(Qt::NoPen);
  QLineSeries* alarmLine = MakeLine("", kAlarmLineColor, kAlarmLineWidth, Qt::DashLine);
  auto* notices = new QScatterSeries;
  notices->setName("E-MAIL ALARM");
  notices->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
  notices->setMarkerSize(kNoticeSize);
  notices->setColor(QColor(kNoticeColor));
  notices->setBorderColor(QColor(kNoticeEdgeColor));
  QFont font = empty_->font();
  font.setPointSizeF(font.pointSizeF() * kEmptyTextScale);
  empty_->setFont(font);
  empty_->setBrush(QColor(kEmptyTextColor));
  empty_->setZValue(kEmptyTextZ);

  // Drawn in this order: the shading under everything, the markers on top.
  std::vector<QLineSeries*> purity, temperature;
  for (int i = 0; i < kFirstLines; ++i) {
    purity.push_back(MakeLine("", kPurityColor, kPurityWidth));
    temperature.push_back(MakeLine("", kTemperatureColor, kTemperatureWidth));
  }
  temperature[0]->setName("Temperature (DEG)");
  purity[0]->setName("Purity (%)");
  std::vector<QAbstractSeries*> order{shade};
  order.insert(order.end(), temperature.begin(), temperature.end());
  order.insert(order.end(), purity.begin(), purity.end());
  order.insert(order.end(), {alarmLine, notices});
  for (QAbstractSeries* s : order) {
    addSeries(s);
    s->attachAxis(time_);
    const bool isTemperature =
        std::find(temperature.begin(), temperature.end(), s) != temperature.end();
    s->attachAxis(isTemperature ? temperatureAxis_ : purityAxis_);
  }
  for (std::size_t i = 1; i < purity.size(); ++i)
    for (QLineSeries* s : {purity[i], temperature[i]}) legend()->markers(s)[0]->setVisible(false);
  legend()->setAlignment(Qt::AlignBottom);

  // Everything drawn, asked in this order at every redraw.
  elements_.push_back(std::make_unique<ValueAxes>(purityAxis_, temperatureAxis_));
  elements_.push_back(std::make_unique<Lines>(*this, &Record::Purity, purity));
  elements_.push_back(std::make_unique<Lines>(*this, &Record::Temperature, temperature));
  elements_.push_back(std::make_unique<TimeLabels>(time_));
  elements_.push_back(std::make_unique<AlarmLevelLine>(alarmLine));
  elements_.push_back(std::make_unique<Shading>(shadeEdge));
  elements_.push_back(std::make_unique<NoticeMarks>(notices));
  elements_.push_back(std::make_unique<EmptyNote>(empty_));
  SetAlarmLevel(kDefaultAlarmLevel);
  SetEmptyText("No records");

  connect(time_, &QValueAxis::rangeChanged, this, &TrendChart::OnTimeAxisChanged);
  connect(this, &QChart::plotAreaChanged, this, &TrendChart::Redraw);
}

void TrendChart::SetContent(const LogContent* content) {
  content_ = content;
  ++contentGeneration_;
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
  if (content_) below_.Update(content_->records);
  if (zoomed_)
    Redraw();
  else
    ShowRange(FullRange());
}

void TrendChart::SetAlarmLevel(double level) {
  below_ = BelowLevel(level);
  Refresh();
}

TimeRange TrendChart::FullRange() const {
  if (!content_ || !content_->anyTime) return kNoTime;
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
  emit shownRangeChanged();
}

void TrendChart::Redraw() {
  if (redrawing_) return;
  redrawing_ = true;
  static const LogContent kNothing;
  const LogContent& content = content_ ? *content_ : kNothing;
  const QRectF plot = plotArea();
  const DrawInput in{content,
                     below_,
                     contentGeneration_,
                     visible_,
                     plot,
                     std::max(1, static_cast<int>(plot.width())),
                     PurityScale(content.purity, below_.Level(), kValueTicks),
                     TemperatureScale(content.temperature, kValueTicks)};
  for (const std::unique_ptr<ChartElement>& element : elements_)
    if (element->Compute(in)) element->Apply();
  redrawing_ = false;
}

}  // namespace zrv::trend
