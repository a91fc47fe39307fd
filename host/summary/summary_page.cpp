// The page's parts: its style (a screen of any width, and print), the
// sections of each log and of the head-to-head, the chart data as JSON in an
// inert script element, and the few lines that hand that data to the chart
// library. Charts draw without animation, so the page is complete as soon as
// it has loaded: for a printout and a screenshot alike; a printout draws them
// again for the paper. Their axes write numbers as the chart library formats
// them, large ones short, so that a label fits beside a chart on a phone.
#include "host/summary/summary_page.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

#include "base/text.h"
#include "host/summary/chart_library.h"
#include "host/summary/summary_json.h"
#include "host/summary/summary_tables.h"
#include "host/system/file_names.h"
#include "host/system/program_name.h"
#include "import/bands.h"

namespace orva::host {
namespace {

constexpr const char* kStyle = R"css(
body { font-family: system-ui, "Segoe UI", Arial, sans-serif; line-height: 1.4; color: #1a1a1a;
  background: #fff; max-width: 72em; margin: 0 auto; padding: 0 1em 2em; }
h1 { font-size: 1.6em; }
h2 { font-size: 1.3em; margin-top: 2em; border-bottom: 2px solid #444; }
h1, h2, h3, p { overflow-wrap: anywhere; }
h3 { font-size: 1.05em; margin: 1.5em 0 0.4em; }
.score { font-size: 1.15em; }
.note { color: #444; font-size: 0.9em; }
.charts { display: grid; grid-template-columns: repeat(auto-fit, minmax(min(22em, 100%), 1fr));
  gap: 1em 2em; }
figure { margin: 1em 0; break-inside: avoid; }
.chart { position: relative; height: 17em; }
canvas { max-width: 100%; }
figcaption { font-size: 0.9em; color: #444; text-align: center; }
/* A table wider than the screen scrolls in its box, a shadow at the side
   where more of it is: white covers that shadow where the table ends. */
.wide { overflow-x: auto; max-width: 100%; background-repeat: no-repeat;
  background-image: linear-gradient(to right, #fff 30%, rgba(255, 255, 255, 0)),
    linear-gradient(to left, #fff 30%, rgba(255, 255, 255, 0)),
    radial-gradient(farthest-side at 0 50%, rgba(0, 0, 0, 0.25), transparent),
    radial-gradient(farthest-side at 100% 50%, rgba(0, 0, 0, 0.25), transparent);
  background-position: left, right, left, right;
  background-size: 2em 100%, 2em 100%, 0.8em 100%, 0.8em 100%;
  background-attachment: local, local, scroll, scroll; }
table { border-collapse: collapse; font-size: 0.9em; }
th, td { padding: 0.15em 0.6em; text-align: left; white-space: nowrap;
  border-bottom: 1px solid #ddd; }
th { border-bottom: 1px solid #444; }
.n { text-align: right; font-variant-numeric: tabular-nums; }
tr.total td { font-weight: bold; border-top: 1px solid #444; }
.calls { font-family: Consolas, "Courier New", monospace; word-spacing: 0.4em; }
@media (max-width: 40em) {
  body { padding: 0 0.5em 1em; }
  .chart { height: 15em; }
  table { font-size: 0.8em; }
  th, td { padding: 0.15em 0.4em; }
}
@page { margin: 15mm; }
@media print {
  body { max-width: none; padding: 0; font-size: 10pt; }
  h2 { margin-top: 1.2em; }
  .charts { grid-template-columns: 1fr 1fr; }
  .chart { height: 6.5cm; }
  canvas { max-width: 100% !important; height: auto !important; }
  .wide { overflow: visible; background: none; }
  table { font-size: 8.5pt; }
  th, td { padding: 0.1em 0.45em; }
  th { white-space: normal; }
  thead { display: table-header-group; }
  tr, h2, h3 { break-inside: avoid; break-after: avoid; }
}
)css";

// Hands the data to the chart library; the colours follow the bands, so a
// band keeps its colour in every chart of the page.
constexpr const char* kDrawing = R"js(
(function () {
  "use strict";
  var data = JSON.parse(document.getElementById("orva-data").textContent);
  var palette = ["#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2",
    "#7f7f7f", "#bcbd22", "#17becf"];
  function colour(i) { return palette[i % palette.length]; }
  Chart.defaults.animation = false;
  Chart.defaults.maintainAspectRatio = false;
  // The page's language for the numbers, whatever the browser's: 1,234 and
  // 131B on a phone as on paper.
  Chart.defaults.locale = "en-US";
  // Pointing anywhere over a chart tells the figures of that hour or line
  // written out, also where a line is too thin to point at.
  Chart.defaults.interaction.mode = "index";
  Chart.defaults.interaction.intersect = false;
  var exact = new Intl.NumberFormat("en-US");
  Chart.defaults.plugins.tooltip.callbacks.label = function (item) {
    return item.dataset.label + ": " + exact.format(item.parsed.y);
  };
  // The axis of counts and scores: whole numbers only, a large one short
  // (1.2K, 34M, 131B) so that its label fits beside a chart on a phone.
  function counts(options) {
    return Object.assign({ beginAtZero: true,
      ticks: { precision: 0, format: { notation: "compact", maximumSignificantDigits: 3 } } },
      options);
  }
  // The off-times shaded over a chart of hours: each span runs from hour
  // positions [from, to), where hour i starts at i (bars stand centred on
  // their hour, lines start there).
  Chart.register({ id: "offTimes", beforeDatasetsDraw: function (chart, args, options) {
    if (!options.spans || !options.spans.length) { return; }
    var x = chart.scales.x, area = chart.chartArea, ctx = chart.ctx;
    var shift = x.options.offset ? 0.5 : 0;
    ctx.save();
    ctx.fillStyle = "rgba(127, 127, 127, 0.2)";
    options.spans.forEach(function (span) {
      var left = x.getPixelForValue(span[0] - shift), right = x.getPixelForValue(span[1] - shift);
      ctx.fillRect(left, area.top, Math.max(right - left, 1), area.bottom - area.top);
    });
    ctx.restore();
  } });
  var charts = [];
  function draw(id, config) {
    var canvas = document.getElementById(id);
    if (canvas) { charts.push(new Chart(canvas, config)); }
  }
  // A line of one hour alone would draw nothing: it is shown as its point.
  function line(label, values, i, axis) {
    return { label: label, data: values, borderColor: colour(i), backgroundColor: colour(i),
      pointRadius: values.length === 1 ? 4 : 0, borderWidth: 2, yAxisID: axis };
  }
  data.logs.forEach(function (log, n) {
    draw("rate-" + n, { type: "bar", data: { labels: log.hours,
      datasets: data.bands.map(function (band, i) {
        return { label: band, data: log.rate[i], backgroundColor: colour(i) };
      }).filter(function (set) { return set.data.some(function (v) { return v > 0; }); }) },
      options: { plugins: { offTimes: { spans: log.off } },
        scales: { x: { stacked: true }, y: counts({ stacked: true }) } } });
    draw("growth-" + n, { type: "line", data: { labels: log.hours, datasets: [
        line("Score", log.score, 0, "score"), line("Multipliers", log.mults, 1, "mults")] },
      options: { plugins: { offTimes: { spans: log.off } },
        scales: { score: counts({ position: "left" }),
        mults: counts({ position: "right", grid: { drawOnChartArea: false } }) } } });
    draw("lines-" + n, { type: "bar", data: { labels: log.lines, datasets: [
        { label: "QSOs", data: log.lineQsos, backgroundColor: colour(0) },
        { label: "Multipliers", data: log.lineMults, backgroundColor: colour(1) }] },
      options: { scales: { y: counts({}) } } });
  });
  if (data.compare) {
    draw("compare", { type: "line", data: { labels: data.compare.hours,
      datasets: data.compare.scores.map(function (scores, i) {
        return line(data.logs[i].name, scores, i, "y");
      }) }, options: { scales: { y: counts({}) } } });
    draw("compare-rate", { type: "bar", data: { labels: data.compare.hours,
      datasets: data.compare.qsos.map(function (qsos, i) {
        return { label: data.logs[i].name, data: qsos, backgroundColor: colour(i) };
      }) }, options: { scales: { y: counts({}) } } });
    draw("compare-ahead", { type: "line", data: { labels: data.compare.hours,
      datasets: data.compare.aheadQsos.map(function (ahead, i) {
        return line("QSOs, 1 against " + (i + 2), ahead, 2 * i, "qsos");
      }).concat(data.compare.aheadScore.map(function (ahead, i) {
        return line("Score, 1 against " + (i + 2), ahead, 2 * i + 1, "score");
      })) }, options: { scales: { qsos: counts({ position: "left", beginAtZero: false }),
        score: counts({ position: "right", beginAtZero: false,
          grid: { drawOnChartArea: false } }) } } });
  }
  // A printout lays the charts out anew, narrower than the screen; each is
  // drawn again for its place on paper, and again for the screen after.
  function redraw() { charts.forEach(function (chart) { chart.resize(); }); }
  window.addEventListener("beforeprint", redraw);
  window.addEventListener("afterprint", redraw);
})();
)js";

// One character in the page: those HTML reserves as references of their
// names, those beyond ASCII as references of their numbers.
void AppendHtmlCharacter(std::string& out, char32_t c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      if (c < 0x80) {
        out += static_cast<char>(c);
        break;
      }
      out += "&#x";
      int shift = 28;
      while ((c >> shift) == 0) {
        shift -= 4;
      }
      for (; shift >= 0; shift -= 4) {
        out += kHex[(c >> shift) & 15];
      }
      out += ';';
  }
}

// A log's text in the page: control bytes as in the text summary, and each
// byte from 0x80 up as the character of that number.
void AppendHtml(std::string& out, std::string_view text) {
  std::string shown;
  AppendEscaped(shown, text);
  for (const char c : shown) {
    AppendHtmlCharacter(out, static_cast<unsigned char>(c));
  }
}

// The name of a file in the page: its characters as written (file_names.h),
// a control character as "\xHH" as in the text.
void AppendHtmlName(std::string& out, std::string_view name) {
  for (const char32_t c : NameCharacters(PrintableName(name))) {
    AppendHtmlCharacter(out, c);
  }
}

// The short label of an hour on a chart's axis: "11-21 12:00".
std::string HourLabel(Moment hour) {
  return FormatMoment(hour).substr(5);
}

void AppendHeading(std::string& out, const char* tag, const std::string& text) {
  out += '<';
  out += tag;
  out += '>';
  AppendHtml(out, text);
  out += "</";
  out += tag;
  out += ">\n";
}

void AppendNote(std::string& out, const std::string& text) {
  out += "<p class=\"note\">";
  AppendHtml(out, text);
  out += "</p>\n";
}

void AppendRow(std::string& out, const SummaryTable& table, const std::vector<std::string>& cells,
               const char* tag) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    out += '<';
    out += tag;
    out += table.columns[i].number ? " class=\"n\">" : ">";
    if (table.columns[i].fileNames) {
      AppendHtmlName(out, cells[i]);
    } else {
      AppendHtml(out, cells[i]);
    }
    out += "</";
    out += tag;
    out += '>';
  }
}

void AppendTable(std::string& out, const SummaryTable& table) {
  std::vector<std::string> headings;
  for (const TableColumn& column : table.columns) {
    headings.push_back(column.heading);
  }
  out += "<div class=\"wide\"><table><thead><tr>";
  AppendRow(out, table, headings, "th");
  out += "</tr></thead><tbody>\n";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const bool total = table.lastRowIsTotal && i + 1 == table.rows.size();
    out += total ? "<tr class=\"total\">" : "<tr>";
    AppendRow(out, table, table.rows[i], "td");
    out += "</tr>\n";
  }
  out += "</tbody></table></div>\n";
}

// The cells of a one-column table as words in a paragraph.
void AppendWords(std::string& out, const SummaryTable& table) {
  out += "<p class=\"calls\">";
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    out += i == 0 ? "" : " ";
    AppendHtml(out, table.rows[i].front());
  }
  out += "</p>\n";
}

void AppendTables(std::string& out, const std::vector<SummaryTable>& tables) {
  for (const SummaryTable& table : tables) {
    AppendHeading(out, "h3", table.heading);
    if (!table.note.empty()) {
      AppendNote(out, table.note);
    }
    if (table.allRows > table.rows.size()) {
      AppendNote(out, "The first " + std::to_string(table.rows.size()) + " are listed; " +
                          std::to_string(table.allRows - table.rows.size()) + " more are in " +
                          kProgramName + " --summary.");
    }
    if (table.columns.empty() || table.rows.empty()) {
      continue;
    }
    if (table.folded) {
      out += "<details><summary>Show the " + std::to_string(table.allRows) + "</summary>\n";
      AppendWords(out, table);
      out += "</details>\n";
    } else if (table.flowing) {
      AppendWords(out, table);
    } else {
      AppendTable(out, table);
    }
  }
}

void AppendFigure(std::string& out, const std::string& id, const std::string& caption) {
  out += "<figure><div class=\"chart\"><canvas id=\"" + id + "\" role=\"img\" aria-label=\"";
  AppendHtml(out, caption);
  out += "\"></canvas></div><figcaption>";
  AppendHtml(out, caption);
  out += "</figcaption></figure>\n";
}

void AppendScoreLine(std::string& out, const LogSummary& log) {
  const TReportTotals& c = log.claimed;
  out += "<p class=\"score\">Claimed score: <strong>" + ScoreText(c) + "</strong> (" +
         std::to_string(c.QSOs) + " QSOs, " + std::to_string(c.Points) + " points, " +
         std::to_string(c.Mults) + " multipliers)</p>\n";
  for (const std::string& note : LeftOutNotes(log.leftOut)) {
    AppendNote(out, note);
  }
}

void AppendCharts(std::string& out, const LogSummary& log, std::size_t n) {
  const std::string number = std::to_string(n);
  out += "<div class=\"charts\">\n";
  if (log.hasTimes) {
    AppendFigure(out, "rate-" + number, "QSOs per hour (UTC), stacked by band");
    AppendFigure(out, "growth-" + number, "Score and multipliers through the contest");
  }
  AppendFigure(out, "lines-" + number, "QSOs and multipliers per band and mode");
  out += "</div>\n";
}

void AppendLogSection(std::string& out, const LogSummary& log, std::size_t n) {
  out += "<section>\n<h2>";
  AppendHtmlName(out, log.name);
  out += "</h2>\n";
  AppendScoreLine(out, log);
  AppendCharts(out, log, n);
  AppendTables(out, LogTables(log, kPageListLimit));
  out += "</section>\n";
}

void AppendComparisonSection(std::string& out, const std::vector<LogSummary>& logs,
                             const Comparison& comparison) {
  std::vector<SummaryTable> tables = ComparisonTables(logs, comparison, kPageListLimit);
  out += "<section>\n<h2>Head to head</h2>\n";
  // The scores first, then how they grew, then the details.
  AppendTables(out, {tables.front()});
  AppendFigure(out, "compare", "The score of each log through the contest");
  AppendFigure(out, "compare-rate", "The QSOs of each log per hour (UTC)");
  AppendFigure(out, "compare-ahead", "How far log 1 is ahead of each other log, in QSOs and score");
  tables.erase(tables.begin());
  AppendTables(out, tables);
  out += "</section>\n";
}

// Every band of any log, in the summary's band order.
std::vector<std::string> AllBands(const std::vector<LogSummary>& logs) {
  std::vector<std::string> bands;
  for (const LogSummary& log : logs) {
    for (const BandModeLine& line : log.bands) {
      bands.push_back(line.band);
    }
  }
  std::sort(bands.begin(), bands.end(), import::BandBefore);
  bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
  return bands;
}

std::vector<const HourLine*> TimedHours(const LogSummary& log) {
  std::vector<const HourLine*> timed;
  for (const HourLine& hour : log.hours) {
    if (hour.hour) {
      timed.push_back(&hour);
    }
  }
  return timed;
}

// Where each off-time lies on the chart's hours, in hours from the first.
Json OffSpans(const LogSummary& log, const std::vector<const HourLine*>& hours) {
  Json spans = Json::array();
  if (hours.empty()) {
    return spans;
  }
  const Moment first = *hours.front()->hour;
  const auto position = [first](Moment moment) {
    return static_cast<double>(moment - first) / static_cast<double>(kSecondsPerHour);
  };
  for (const OffTime& off : log.operating.offTimes) {
    spans.push_back(Json::array({position(off.from), position(off.to)}));
  }
  return spans;
}

// Each list is made whole before it becomes a member: an object keeps its
// members in a vector, where a reference to one would not outlive the
// adding of the next.
Json LogData(const LogSummary& log, const std::vector<std::string>& bands) {
  const std::vector<const HourLine*> hours = TimedHours(log);
  Json data;
  data["name"] = JsonFileName(log.name);
  Json labels = Json::array(), rate = Json::array(), score = Json::array(), mults = Json::array();
  for (const HourLine* h : hours) {
    labels.push_back(HourLabel(*h->hour));
  }
  for (const std::string& band : bands) {
    Json& counts = rate.emplace_back(Json::array());
    for (const HourLine* h : hours) {
      const auto found = h->qsosPerBand.find(band);
      counts.push_back(found == h->qsosPerBand.end() ? 0 : found->second);
    }
  }
  std::int64_t multipliers = 0;
  for (const HourLine* h : hours) {
    score.push_back(h->score);
    mults.push_back(multipliers += h->newMultipliers);
  }
  Json lines = Json::array(), lineQsos = Json::array(), lineMults = Json::array();
  for (const BandModeLine& b : log.bands) {
    lines.push_back(JsonLogText(b.band + ' ' + b.mode));
    lineQsos.push_back(b.qsos);
    lineMults.push_back(b.multipliers);
  }
  data["hours"] = std::move(labels);
  data["off"] = OffSpans(log, hours);
  data["rate"] = std::move(rate);
  data["score"] = std::move(score);
  data["mults"] = std::move(mults);
  data["lines"] = std::move(lines);
  data["lineQsos"] = std::move(lineQsos);
  data["lineMults"] = std::move(lineMults);
  return data;
}

Json ComparisonData(const std::vector<LogSummary>& logs, const Comparison& comparison) {
  Json labels = Json::array();
  Json scores(logs.size(), Json::array()), qsos(logs.size(), Json::array());
  Json aheadQsos(logs.size() - 1, Json::array()), aheadScore(logs.size() - 1, Json::array());
  for (const ComparedHour& hour : comparison.hours) {
    if (!hour.hour) {
      continue;
    }
    labels.push_back(HourLabel(*hour.hour));
    for (std::size_t i = 0; i < logs.size(); ++i) {
      scores[i].push_back(hour.score[i]);
      qsos[i].push_back(hour.qsos[i]);
    }
    for (std::size_t i = 1; i < logs.size(); ++i) {
      aheadQsos[i - 1].push_back(hour.totalQsos[0] - hour.totalQsos[i]);
      aheadScore[i - 1].push_back(hour.score[0] - hour.score[i]);
    }
  }
  Json data;
  data["hours"] = std::move(labels);
  data["scores"] = std::move(scores);
  data["qsos"] = std::move(qsos);
  data["aheadQsos"] = std::move(aheadQsos);
  data["aheadScore"] = std::move(aheadScore);
  return data;
}

// The charts' data, as JSON in a script element the browser does not run;
// the JSON escapes '<', so nothing in it can end the element.
void AppendData(std::string& out, const std::vector<LogSummary>& logs,
                const Comparison& comparison) {
  const std::vector<std::string> bands = AllBands(logs);
  Json bandNames = Json::array(), logData = Json::array();
  for (const std::string& band : bands) {
    bandNames.push_back(JsonLogText(band));
  }
  for (const LogSummary& log : logs) {
    logData.push_back(LogData(log, bands));
  }
  Json data;
  data["bands"] = std::move(bandNames);
  data["logs"] = std::move(logData);
  if (logs.size() >= 2) {
    data["compare"] = ComparisonData(logs, comparison);
  }
  out += "<script id=\"orva-data\" type=\"application/json\">";
  AppendJson(out, data, JsonSpacing::kCompact);
  out += "</script>\n";
}

// Script text in a CDATA section behind line comments: HTML runs it as it
// stands, and the page stays well-formed XML, which a strict parser checks.
void AppendScript(std::string& out, std::string_view script) {
  out += "<script>//<![CDATA[\n";
  out += script;
  out += "\n//]]></script>\n";
}

void AppendTitle(std::string& out, const std::vector<LogSummary>& logs) {
  out += logs.size() >= 2 ? "<title>Head to head: " : "<title>Contest summary: ";
  for (std::size_t i = 0; i < logs.size(); ++i) {
    out += i == 0 ? "" : ", ";
    AppendHtmlName(out, logs[i].name);
  }
  out += "</title>\n";
}

}  // namespace

std::string SummaryPage(const std::vector<LogSummary>& logs, const Comparison& comparison) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\" />\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n";
  AppendTitle(out, logs);
  out += "<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n";
  out += "<h1>Contest summary</h1>\n";
  // The question of a head-to-head comes first: what did the others find?
  if (logs.size() >= 2) {
    AppendComparisonSection(out, logs, comparison);
  }
  for (std::size_t i = 0; i < logs.size(); ++i) {
    AppendLogSection(out, logs[i], i);
  }
  AppendData(out, logs, comparison);
  AppendScript(out, std::string_view(kChartLibrary, kChartLibrarySize));
  AppendScript(out, kDrawing);
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace orva::host
