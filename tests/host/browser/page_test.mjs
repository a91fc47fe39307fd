// The summary page as its reader meets it, in headless Chromium driven by
// puppeteer-core: opened from disk on a desktop screen, on a phone and in
// print. On each the page asks for nothing beyond file: and data:, raises no
// script error, draws every chart with its axis labels whole, runs past no
// edge but inside a box that scrolls (whose last column can be scrolled to),
// and shows the figures its reader looks for, as the JSON summary of the
// same logs has them; on the desktop, pointing at a line chart tells its
// figures in full.
//
//   node page_test.mjs --driver DIR --chromium FILE --page FILE --summary FILE
//     [--min-hues N] [--screenshot FILE --screenshot-size WIDTHxHEIGHT]
//
// DIR: where npm installed this folder's package.json (in the build tree).
// MIN_HUES: the hues (of twelve on the colour wheel) the charts show at
// least together, one per band or log a page has. The screenshot, of the top
// of the page on the desktop screen, is the one the user guide shows.
// Prints one line per view and exits with 0 when every check held, 1 when
// one did not (each failure on a line of its own), 2 for a misuse.
import { mkdtemp, readFile, rm } from "node:fs/promises";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

// A phone held upright (its CSS pixels), a desktop window, and an A4 sheet's
// printable width at 96 pixels an inch within the margins of the page's
// print style (@page, 15 mm).
const kViews = [
  { name: "desktop", viewport: { width: 1280, height: 900 } },
  {
    name: "phone",
    viewport: { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  },
  { name: "print", viewport: { width: 680, height: 960 }, media: "print" },
];
// Drawn data in a chart's plot area, where nothing else has colour: at
// least the point of a lone hour.
const kMinChartPixels = 20;

// "2 h 05 min", "45 min", as the summary writes a length of time.
function duration(minutes) {
  if (minutes < 60) {
    return `${minutes} min`;
  }
  return `${Math.floor(minutes / 60)} h ${String(minutes % 60).padStart(2, "0")} min`;
}

// The figures a reader looks for first, each as the page shows it for one
// log of the JSON summary (a table's row as its cells, a blank between two); checked
// in that log's section of the page.
const kKeyFigures = [
  {
    name: "claimed score",
    shown: (log) => [
      `Claimed score: ${log.points}*${log.multipliers}=${log.score} (${log.qsos} QSOs, ` +
        `${log.points} points, ${log.multipliers} multipliers)`,
    ],
  },
  {
    name: "operating time",
    shown: (log) => [
      `${duration(log.operating.minutes)}: from the first QSO to the last, less ` +
        `${log.operating.off_times.length} off-times (pauses of at least ` +
        `${duration(log.operating.min_off_minutes)})`,
    ],
  },
  {
    name: "off-time",
    shown: (log) =>
      log.operating.off_times.map((off) => `${off.from} ${off.to} ${duration(off.minutes)}`),
  },
  {
    name: "best rate",
    shown: (log) =>
      log.best_rates.map(
        (rate) =>
          `${rate.minutes} ${rate.qsos} ${rate.from} ${Math.floor((rate.qsos * 60) / rate.minutes)}`,
      ),
  },
];

function parseArguments(argv) {
  const options = {};
  for (let i = 0; i < argv.length; i += 2) {
    if (!argv[i].startsWith("--") || i + 1 >= argv.length) {
      throw new Error(`unexpected argument ${argv[i]}`);
    }
    options[argv[i].slice(2)] = argv[i + 1];
  }
  for (const required of ["driver", "chromium", "page", "summary"]) {
    if (!options[required]) {
      throw new Error(`--${required} is missing`);
    }
  }
  return options;
}

// Chromium with no network of its own: no background services, and any host
// name it would still look up resolves to nothing. Its profile is new and
// empty, and goes with it.
async function launch(driver, chromium, profile) {
  const puppeteer = createRequire(join(driver, "package.json"))("puppeteer-core");
  return puppeteer.launch({
    executablePath: chromium,
    pipe: true,
    ignoreDefaultArgs: true,
    args: [
      "--headless",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-quic",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--hide-scrollbars",
      "--host-resolver-rules=MAP * ~NOTFOUND",
      `--user-data-dir=${profile}`,
      "about:blank",
    ],
  });
}

// Opens the page in a view, every request that is no file: or data: refused
// and noted, as are script errors; resolves when the page and its charts
// have drawn.
async function open(browser, url, view, failures) {
  const page = await browser.newPage();
  await page.setRequestInterception(true);
  page.on("request", (request) => {
    if (/^(file|data):/.test(request.url())) {
      request.continue();
    } else {
      failures.push(`asked for ${request.url()}`);
      request.abort();
    }
  });
  page.on("pageerror", (error) => failures.push(`script error: ${error.message}`));
  page.on("console", (message) => {
    if (message.type() === "error") {
      failures.push(`console error: ${message.text()}`);
    }
  });
  await page.setViewport(view.viewport);
  await page.emulateMediaType(view.media ?? "screen");
  await page.goto(url, { waitUntil: "load" });
  await settle(page);
  return page;
}

// The charts redraw for a new size in the next frames.
async function settle(page) {
  await page.evaluate(
    () => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))),
  );
}

// Per canvas: its size and its plot area's coloured pixels with their hues
// (the page is black on white with grey rules; only drawn data has colour).
function measureCharts() {
  const kColourfulness = 80;
  const kHueSectors = 12;
  function hueSector(r, g, b) {
    const high = Math.max(r, g, b);
    const span = high - Math.min(r, g, b);
    let hue = high === r ? (g - b) / span : high === g ? 2 + (b - r) / span : 4 + (r - g) / span;
    hue = (hue * 60 + 360) % 360;
    return Math.floor(hue / (360 / kHueSectors));
  }
  // The tick labels of a chart that its canvas cuts, as the library lays them
  // out: beside a vertical axis, right-aligned left of it or left-aligned right
  // of it; under a horizontal one, centred on the tick or, turned, ending there.
  function cutLabels(chart) {
    const cut = [];
    const context = chart.ctx;
    context.save();
    for (const scale of Object.values(chart.scales)) {
      if (!scale.options.display || !scale.options.ticks.display) {
        continue;
      }
      const font = Chart.helpers.toFont(scale.options.ticks.font);
      context.font = font.string;
      const offset =
        (scale.options.grid.drawTicks ? scale.options.grid.tickLength : 0) + scale.options.ticks.padding;
      const turn = (scale.labelRotation * Math.PI) / 180;
      scale.ticks.forEach((tick, i) => {
        const lines = [tick.label].flat();
        const width = Math.max(...lines.map((line) => context.measureText(String(line)).width));
        const pixel = scale.getPixelForTick(i);
        let [left, right, bottom] = [0, 0, 0];
        if (!scale.isHorizontal()) {
          left = scale.position === "left" ? scale.right - offset - width : scale.left + offset;
          right = left + width;
        } else if (turn === 0) {
          [left, right] = [pixel - width / 2, pixel + width / 2];
          bottom = scale.top + offset + font.lineHeight * lines.length;
        } else {
          [left, right] = [pixel - width * Math.cos(turn), pixel];
          bottom = scale.top + offset + width * Math.sin(turn) + font.size * Math.cos(turn);
        }
        if (left < -0.5 || right > chart.width + 0.5 || bottom > chart.height + 0.5) {
          cut.push(`${scale.id}: ${lines.join(" ")}`);
        }
      });
    }
    context.restore();
    return cut;
  }
  return [...document.querySelectorAll("canvas")].map((canvas) => {
    const chart = Chart.getChart(canvas);
    const box = canvas.getBoundingClientRect();
    const frame = canvas.parentElement.getBoundingClientRect();
    const measured = {
      id: canvas.id,
      drawn: chart !== undefined,
      inside: box.left >= frame.left - 0.5 && box.right <= frame.right + 0.5,
      width: box.width,
      height: box.height,
      pixels: 0,
      hues: [],
    };
    if (!chart || box.width === 0 || box.height === 0) {
      return measured;
    }
    const scale = canvas.width / box.width;
    const area = chart.chartArea;
    const x = Math.floor(area.left * scale);
    const y = Math.floor(area.top * scale);
    const width = Math.ceil((area.right - area.left) * scale);
    const height = Math.ceil((area.bottom - area.top) * scale);
    const data = canvas.getContext("2d").getImageData(x, y, width, height).data;
    const hues = new Set();
    for (let i = 0; i < data.length; i += 4) {
      const [r, g, b, a] = [data[i], data[i + 1], data[i + 2], data[i + 3]];
      if (a > 128 && Math.max(r, g, b) - Math.min(r, g, b) >= kColourfulness) {
        measured.pixels += 1;
        hues.add(hueSector(r, g, b));
      }
    }
    measured.hues = [...hues];
    measured.cutLabels = cutLabels(chart);
    return measured;
  });
}

async function checkCharts(page, minHues, failures) {
  const charts = await page.evaluate(measureCharts);
  if (charts.length === 0) {
    failures.push("the page has no chart");
  }
  const hues = new Set();
  for (const chart of charts) {
    if (!chart.drawn) {
      failures.push(`chart ${chart.id}: the chart library drew nothing on it`);
    } else if (chart.pixels < kMinChartPixels) {
      failures.push(`chart ${chart.id}: ${chart.pixels} coloured pixels, no data drawn`);
    }
    if (!chart.inside) {
      failures.push(`chart ${chart.id}: wider than its frame (${chart.width} px)`);
    }
    if (chart.cutLabels?.length) {
      failures.push(`chart ${chart.id}: labels cut at its edges: ${chart.cutLabels.join(", ")}`);
    }
    chart.hues.forEach((hue) => hues.add(hue));
  }
  if (hues.size < minHues) {
    failures.push(`the charts show ${hues.size} hues, fewer than ${minHues}`);
  }
  return `${charts.length} charts in ${hues.size} hues`;
}

// What runs past the view's edges: each element beyond them that no box
// which scrolls sideways holds (one cut by a box that hides its overflow is
// lost), each such box that itself runs past, and each whose content cannot
// be scrolled into sight to its last column. In print nothing scrolls.
function findOverflow(width, printed) {
  const found = [];
  const describe = (element) =>
    `${element.tagName.toLowerCase()}${element.className ? "." + element.className : ""}` +
    ` "${element.textContent.trim().slice(0, 40)}"`;
  const past = (rect) => rect.right > width + 0.5 || rect.left < -0.5;
  const scrolls = (element) => /^(auto|scroll)$/.test(getComputedStyle(element).overflowX);
  const cuts = (element) => /^(hidden|clip)$/.test(getComputedStyle(element).overflowX);
  const page = document.documentElement;
  if (page.scrollWidth > width) {
    found.push(`the page is ${page.scrollWidth} px wide`);
  }
  for (const element of document.body.querySelectorAll("*")) {
    if (!past(element.getBoundingClientRect())) {
      continue;
    }
    let holder = element.parentElement;
    while (holder && holder !== document.body && !scrolls(holder) && !cuts(holder)) {
      holder = holder.parentElement;
    }
    if (printed || !holder || holder === document.body || cuts(holder)) {
      found.push(`${describe(element)} runs past the edge`);
    }
  }
  for (const box of document.body.querySelectorAll("*")) {
    if (printed || !scrolls(box) || box.scrollWidth <= box.clientWidth) {
      continue;
    }
    if (past(box.getBoundingClientRect())) {
      found.push(`the scrolling ${describe(box)} runs past the edge`);
    }
    box.scrollLeft = box.scrollWidth;
    const right = box.getBoundingClientRect().right;
    const last = [...box.querySelectorAll("*")].some(
      (inner) => inner.getBoundingClientRect().right > right + 0.5,
    );
    box.scrollLeft = 0;
    if (last) {
      found.push(`the end of ${describe(box)} cannot be scrolled to`);
    }
  }
  return found;
}

// Pointing at the last hour of each line chart tells its figures written out
// in full (the axes write them short).
async function checkTooltips(page, failures) {
  const ids = await page.evaluate(() =>
    [...document.querySelectorAll("canvas")]
      .filter((canvas) => Chart.getChart(canvas)?.config.type === "line")
      .map((canvas) => canvas.id),
  );
  for (const id of ids) {
    const point = await page.evaluate((id) => {
      const canvas = document.getElementById(id);
      canvas.scrollIntoView({ block: "center" });
      const box = canvas.getBoundingClientRect();
      const area = Chart.getChart(canvas).chartArea;
      return { x: box.left + area.right - 1, y: box.top + (area.top + area.bottom) / 2 };
    }, id);
    await page.mouse.move(point.x, point.y);
    await settle(page);
    const told = await page.evaluate((id) => {
      const chart = Chart.getChart(document.getElementById(id));
      const wanted = chart.data.datasets.map(
        (set) => `${set.label}: ${set.data[set.data.length - 1].toLocaleString("en-US")}`,
      );
      const lines = chart.tooltip.getActiveElements().length
        ? chart.tooltip.body.flatMap((part) => part.lines)
        : [];
      return { wanted, lines };
    }, id);
    const missing = told.wanted.filter((line) => !told.lines.includes(line));
    if (missing.length > 0) {
      failures.push(`chart ${id}: pointing at its last hour tells [${told.lines}], not ${missing}`);
    }
  }
  await page.evaluate(() => window.scrollTo(0, 0));
}

// The section of each log, found by its heading, holds its key figures.
async function checkFigures(page, summary, failures) {
  const sections = await page.evaluate(() =>
    [...document.querySelectorAll("section")].map((section) => ({
      heading: section.querySelector("h2")?.textContent ?? "",
      text: section.innerText.replace(/\s+/g, " "),
    })),
  );
  for (const log of summary.logs) {
    const section = sections.find((s) => s.heading === log.name);
    if (!section) {
      failures.push(`no section is headed ${log.name}`);
      continue;
    }
    for (const figure of kKeyFigures) {
      for (const shown of figure.shown(log)) {
        if (!section.text.includes(shown)) {
          failures.push(`${log.name}: the ${figure.name} "${shown}" is not shown`);
        }
      }
    }
  }
}

async function checkView(browser, url, view, options, summary) {
  const failures = [];
  const page = await open(browser, url, view, failures);
  const charts = await checkCharts(page, Number(options["min-hues"] ?? 1), failures);
  const overflow = await page.evaluate(findOverflow, view.viewport.width, view.media === "print");
  failures.push(...overflow);
  await checkFigures(page, summary, failures);
  if (view.name === "desktop") {
    await checkTooltips(page, failures);
  }
  if (view.name === "desktop" && options.screenshot) {
    const [width, height] = options["screenshot-size"].split("x").map(Number);
    await page.setViewport({ width, height });
    await settle(page);
    await page.screenshot({ path: options.screenshot });
  }
  await page.close();
  console.log(`${view.name} (${view.viewport.width} px): ${charts}, ${failures.length} failures`);
  return failures.map((failure) => `${view.name}: ${failure}`);
}

async function main() {
  let options;
  try {
    options = parseArguments(process.argv.slice(2));
  } catch (error) {
    console.error(`page_test: ${error.message}`);
    return 2;
  }
  const summary = JSON.parse(await readFile(options.summary, "utf8"));
  const url = pathToFileURL(options.page).href;
  const profile = await mkdtemp(join(tmpdir(), "orva-page-test-"));
  const failures = [];
  try {
    const browser = await launch(options.driver, options.chromium, profile);
    try {
      for (const view of kViews) {
        failures.push(...(await checkView(browser, url, view, options, summary)));
      }
    } finally {
      await browser.close();
    }
  } finally {
    await rm(profile, { recursive: true, force: true });
  }
  failures.forEach((failure) => console.log(`FAILED: ${failure}`));
  return failures.length === 0 ? 0 : 1;
}

process.exitCode = await main();
