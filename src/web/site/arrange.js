// Where the lesson sits on the screen: the whole window scaled as one to fit, centred; on a screen
// held upright the graph goes under the table, so the figure stays large; full screen; the page's
// own small controls in a corner, out of the lesson's way. Nothing ever scrolls the lesson.
import { ui } from './lesson.js';
import { refreshPictures, view } from './pictures.js';
import { px } from './window.js';

const stage = document.getElementById('stage');
const win = document.getElementById('window');
const toolbar = document.getElementById('toolbar');
const turnHint = document.getElementById('turn');

// A fixed scale instead of fitting the screen, for tests that compare pictures one pixel a pixel;
// only a scale a screen could show is taken.
const asked = new URLSearchParams(location.search).get('scale');
const pinnedScale =
  asked !== null && /^\d+(\.\d+)?$/.test(asked) && Number(asked) >= 0.25 && Number(asked) <= 4 ? Number(asked) : null;

// Phones held upright are narrower than this: they are told the lesson is larger turned.
const phoneWidth = 560;

// The window's size on the page and where the graph lies in it. Upright, with the graph in view,
// the window keeps its narrow width and the graph hangs under everything else, centred.
function arrangement(portrait) {
  const g = ui.geometry;
  const graph = ui.byName('gamen');
  const graphShown = g.width > graph.state.left;
  if (!portrait || !graphShown) {
    return { width: g.width, height: g.height, graph: { left: graph.state.left, top: graph.state.top } };
  }
  const width = ui.layout.startClient.width;
  const top = g.height + 2;
  return {
    width,
    height: top + graph.height + 6,
    graph: { left: Math.round((width - graph.width) / 2), top },
  };
}

// The largest scale that shows the whole window in the area, and where it then lies; an area with
// no room at all gives a scale of nothing, never one that turns the window over.
function fitIn(width, height, area) {
  const scale = Math.max(0, Math.min(area.width / width, area.height / height));
  return {
    scale,
    x: area.x + Math.max(0, (area.width - width * scale) / 2),
    y: area.y + Math.max(0, (area.height - height * scale) / 2),
  };
}

function overlaps(a, b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

export function arrange() {
  const portrait = pinnedScale === null && innerHeight > innerWidth;
  const { width, height, graph } = arrangement(portrait);
  const graphElement = ui.elements.get(ui.byName('gamen').id);
  graphElement.style.left = px(graph.left);
  graphElement.style.top = px(graph.top);
  win.style.width = px(width);
  win.style.height = px(height);

  let fit = { scale: pinnedScale ?? 1, x: 0, y: 0 };
  if (pinnedScale === null) {
    const screen = { x: 0, y: 0, width: innerWidth, height: innerHeight };
    fit = fitIn(width, height, screen);
    // The page's own controls sit in a corner; should the lesson reach under them, it gives them
    // the strip they need beside it, or the band above it, whichever leaves the lesson larger.
    const bar = toolbar.getBoundingClientRect();
    const lesson = { x: fit.x, y: fit.y, width: width * fit.scale, height: height * fit.scale };
    if (overlaps(lesson, bar)) {
      const beside = fitIn(width, height, { ...screen, width: innerWidth - bar.width - 4 });
      const below = fitIn(width, height, { ...screen, y: bar.bottom + 4, height: innerHeight - bar.bottom - 4 });
      fit = beside.scale >= below.scale ? beside : below;
    }
  }
  win.style.transform = `translate(${fit.x}px, ${fit.y}px) scale(${fit.scale})`;
  turnHint.hidden = !(portrait && innerWidth < phoneWidth);
  const scale = fit.scale * (pinnedScale === null ? window.devicePixelRatio || 1 : 1);
  view.scale = scale;
  refreshPictures();
}

// Nothing may move the window inside the page: a focus that wants to scroll it into view, a
// browser that scrolls to keep something visible. Whatever scrolls is put back at once.
function holdStill(element) {
  element.addEventListener('scroll', () => {
    if (element.scrollLeft !== 0) element.scrollLeft = 0;
    if (element.scrollTop !== 0) element.scrollTop = 0;
  });
}

export function keepArranged() {
  addEventListener('resize', arrange);
  document.addEventListener('fullscreenchange', arrange);
  for (const element of [win, stage]) holdStill(element);
  // The page's own controls grow when the browser offers more (インストール comes later): the
  // lesson makes room for them again.
  let barWidth = toolbar.offsetWidth;
  new ResizeObserver(() => {
    if (toolbar.offsetWidth === barWidth) return;
    barWidth = toolbar.offsetWidth;
    arrange();
  }).observe(toolbar);
  addEventListener('scroll', () => {
    if (scrollX !== 0 || scrollY !== 0) scrollTo(0, 0);
  });
}

// ---- Full screen -------------------------------------------------------------------------------

export function toggleFullScreen() {
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  else document.documentElement.requestFullscreen().catch(() => {});
}

export function attachFullScreen(button) {
  if (!document.fullscreenEnabled) {
    button.hidden = true;
    return;
  }
  button.addEventListener('click', toggleFullScreen);
  document.addEventListener('fullscreenchange', () => {
    button.setAttribute('aria-pressed', String(document.fullscreenElement !== null));
  });
}
