'use strict';
// The review page's script, in two parts. The first, reviewPure, is plain functions of their
// arguments that touch no document: number and length formatting, the table's order and search,
// and the view transform. Node loads this file without a browser to test them
// (tests/review/pure.test.mjs). The second part is the page itself and runs only where there is
// a document.

// ==================================================================== the pure part
const reviewPure = (() => {
  // ------------------------------------------------------------------ small helpers
  function clamp(v, lo, hi) { return Math.max(lo, Math.min(hi, v)); }
  // A side's left-right sign (the bottom is seen from below, mirrored) and the side opposite.
  function signOf(side) { return side === 'top' ? 1 : -1; }
  function otherSide(side) { return side === 'top' ? 'bottom' : 'top'; }
  // Text for HTML: the data's texts are shown as text, whatever characters they hold.
  function esc(s) {
    return String(s).replace(/[&<>"']/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' }[c]));
  }
  function classKey(c) { return String(c).toLowerCase().replace(/[^a-z]/g, ''); }

  // ------------------------------------------------------------------ numbers
  // The report's units, as the data give them: { word, per_inch, decimals }. X and Y are shown as
  // the report prints them (x_text, y_text); every other length the page shows goes through here.
  // A board length (inches) in the report's units, with the report's decimals.
  function formatLength(inches, units) {
    return (inches * units.per_inch).toFixed(units.decimals);
  }
  // Counts with a comma between thousands, whatever the reader's locale.
  function formatCount(n) { return n.toLocaleString('en-US'); }
  // The table's count line: placed and excluded parts, of them the ones the search shows.
  function rowCountText(shownPlaced, placed, shownExcluded, excluded, searching) {
    const part = (shown, total, word) => (searching ? formatCount(shown) + ' of ' : '') + formatCount(total) + word;
    return part(shownPlaced, placed, placed === 1 ? ' placed part' : ' placed parts') +
      (excluded ? ', ' + part(shownExcluded, excluded, ' excluded') : '');
  }
  // Scale bar at s px per inch: the longest 1, 2 or 5 times a power of ten (report units) that
  // fits in maxPx; its length on screen and its label.
  function scaleBar(s, units, maxPx) {
    const pxPerUnit = s / units.per_inch;
    let len = Math.pow(10, Math.floor(Math.log10(maxPx / pxPerUnit)));
    for (const k of [5, 2]) if (len * k * pxPerUnit <= maxPx) { len *= k; break; }
    return { px: len * pxPerUnit, text: (len >= 1 ? String(len) : len.toPrecision(1)) + ' ' + units.word };
  }

  // ------------------------------------------------------------------ the table: columns, order, search
  // Columns: get gives the cell's text; num columns sort by val, the others by their text. The
  // findings cell names the kinds of the part's findings (indices into `findings`), errors first.
  function tableColumns(unitLabel, findings) {
    return [
      { key: 'ref', title: 'Designator', get: (p) => p.ref },
      { key: 'footprint', title: 'Footprint', get: (p) => p.footprint },
      { key: 'value', title: 'Value', get: (p) => p.value },
      { key: 'side', title: 'Side', get: (p) => (p.side === 'top' ? 'Top' : 'Bottom') },
      { key: 'x', title: 'X (' + unitLabel + ')', num: true, get: (p) => p.x_text, val: (p) => parseFloat(p.x_text) },
      { key: 'y', title: 'Y (' + unitLabel + ')', num: true, get: (p) => p.y_text, val: (p) => parseFloat(p.y_text) },
      { key: 'rotation', title: 'Rot (°)', num: true, get: (p) => String(p.rotation), val: (p) => Number(p.rotation) },
      { key: 'class', title: 'Class', get: (p) => p.class },
      { key: 'findings', title: 'Findings', num: true, get: (p) => p.findings.map((k) => findings[k].kind).join(', '),
        val: (p) => p.findings.reduce((sum, k) => sum + (findings[k].severity === 'error' ? 1000 : 1), 0) },
      { key: 'info', title: 'Information', get: (p) => p.info },
    ];
  }
  // Texts in the order an engineer expects: letters in any case alike, numbers as numbers (C2 before C10).
  const collator = new Intl.Collator(undefined, { numeric: true, sensitivity: 'base' });
  // The part indices `placed` ordered by column `col` (none: report order), dir 1 ascending, -1
  // descending. Report order breaks ties, so equal values keep the order the report prints them in.
  function sortRows(parts, placed, col, dir) {
    const order = placed.slice();
    if (!col) return order;
    if (col.num) {
      const v = new Float64Array(parts.length);
      for (const i of order) { const x = col.val(parts[i]); v[i] = Number.isFinite(x) ? x : -Infinity; }
      order.sort((a, b) => (v[a] - v[b]) * dir || a - b);
    } else {
      order.sort((a, b) => collator.compare(col.get(parts[a]), col.get(parts[b])) * dir || a - b);
    }
    return order;
  }
  // Heading clicks cycle ascending, descending, report order.
  function nextSort(sortKey, sortDir, clicked) {
    if (sortKey !== clicked) return { sortKey: clicked, sortDir: 1 };
    if (sortDir > 0) return { sortKey, sortDir: -1 };
    return { sortKey: null, sortDir };
  }
  // The search finds the query, trimmed, in a part's designator, footprint or value, in any letter
  // case. A part's key keeps the three apart by a newline, so a query cannot match across two fields.
  function searchKey(p) { return (p.ref + '\n' + p.footprint + '\n' + p.value).toLowerCase(); }
  function searchNeedle(query) { return query.trim().toLowerCase(); }
  // The rows of `order` whose key holds the needle, in that order; all of them for no needle.
  function matchRows(order, keys, needle) {
    return needle ? order.filter((i) => keys[i].includes(needle)) : order;
  }

  // ------------------------------------------------------------------ groups and ticks
  // The grouped view: the parts `list` by value and footprint, each group with its parts in the
  // order given; groups by footprint, then value, in the order an engineer expects.
  function groupParts(parts, list) {
    const byKey = new Map();
    for (const i of list) {
      const p = parts[i], key = p.value + '\n' + p.footprint;
      let g = byKey.get(key);
      if (!g) byKey.set(key, (g = { value: p.value, footprint: p.footprint, parts: [] }));
      g.parts.push(i);
    }
    return [...byKey.values()].sort((a, b) => collator.compare(a.footprint, b.footprint) || collator.compare(a.value, b.value));
  }
  // The grouped view's columns, as tableColumns' (parts: the designators, in natural order).
  function groupColumns() {
    return [
      { key: 'qty', title: 'Qty', num: true, get: (g) => String(g.parts.length), val: (g) => g.parts.length },
      { key: 'value', title: 'Value', get: (g) => g.value },
      { key: 'footprint', title: 'Footprint', get: (g) => g.footprint },
      { key: 'refs', title: 'Designators', get: (g) => g.refs },
    ];
  }
  function groupSearchKey(g) { return (g.value + '\n' + g.footprint + '\n' + g.refs).toLowerCase(); }
  // Designators in natural order (C2 before C10).
  function naturalOrder(refs) { return refs.slice().sort(collator.compare); }
  // A short fingerprint of a text (32-bit FNV-1a, in hexadecimal): the ticks of one version of
  // the board's data are kept apart from another's.
  function hashText(text) {
    let h = 0x811c9dc5;
    for (let k = 0; k < text.length; k++) h = Math.imul(h ^ text.charCodeAt(k), 0x01000193);
    return (h >>> 0).toString(16).padStart(8, '0');
  }

  // A list of designators as a finding or a group shows them: the first `few`, then "and N more".
  function refList(refs, few) {
    if (refs.length <= few) return refs.join(', ');
    return refs.slice(0, few).join(', ') + ' and ' + formatCount(refs.length - few) + ' more';
  }
  // A finding's parts in words: "1 part: C1", "3 parts: C1, C2, C3".
  function partsText(refs, few) {
    return formatCount(refs.length) + (refs.length === 1 ? ' part: ' : ' parts: ') + refList(refs, few);
  }

  // ------------------------------------------------------------------ the view transform
  // A view v = { side, s, tx, ty, w, h }: a board point (x, y) in inches is at screen point
  // (m*s*x + tx, -s*y + ty) in CSS px, with s in px per inch and m = signOf(side) (the bottom is
  // mirrored left-right); w and h are the view's size. fitScale, where given, is the scale Fit chose.
  function toBoard(v, px, py) {
    return [signOf(v.side) * (px - v.tx) / v.s, -(py - v.ty) / v.s];
  }
  function toScreen(v, x, y) {
    return [signOf(v.side) * v.s * x + v.tx, -v.s * y + v.ty];
  }
  // The shift that puts board point (x, y) in the middle of view v, seen from `side` at scale s.
  function centring(v, side, s, x, y) {
    return { tx: v.w / 2 - signOf(side) * s * x, ty: v.h / 2 + s * y };
  }
  // The view that fits box [x0, y0, x1, y1] into v with a margin; it sets the zoom range too.
  function fitView(v, box) {
    const [x0, y0, x1, y1] = box;
    const s = Math.min(v.w / (x1 - x0), v.h / (y1 - y0)) * 0.92;
    return { s, fitScale: s, ...centring(v, v.side, s, (x0 + x1) / 2, (y0 + y1) / 2) };
  }
  // Zoom by `factor`, within 1/8 to 4000 times the fitted scale, keeping the board point under
  // (px, py) where it is.
  function zoomAt(v, px, py, factor) {
    const s = clamp(v.s * factor, v.fitScale / 8, v.fitScale * 4000);
    const f = s / v.s;
    return { s, tx: px - (px - v.tx) * f, ty: py - (py - v.ty) * f };
  }
  // Centre board point (x, y), zooming in (never out) far enough that a part of box `box` can be made out.
  function centreOn(v, x, y, box) {
    const extent = Math.max(0.8, 4 * Math.max(box[2] - box[0], box[3] - box[1]));
    const s = Math.max(v.s, Math.min(v.w, v.h) / extent);
    return { s, ...centring(v, v.side, s, x, y) };
  }
  // The view turned to `side` with the same board point in the middle: flipping does not lose the place.
  function turnTo(v, side) {
    if (side === v.side) return { side, tx: v.tx, ty: v.ty };
    const [cx, cy] = toBoard(v, v.w / 2, v.h / 2);
    return { side, ...centring(v, side, v.s, cx, cy) };
  }
  // The board box that view v shows, grown by `margin` inches.
  function shownBox(v, margin) {
    const m = signOf(v.side);
    const xa = -m * v.tx / v.s, xb = m * (v.w - v.tx) / v.s;
    return [Math.min(xa, xb) - margin, (v.ty - v.h) / v.s - margin, Math.max(xa, xb) + margin, v.ty / v.s + margin];
  }
  // Zoom and shift that show board box `box` whole in view v, at least `least` inches wide and high
  // (a single small part is not blown up to fill the view); the zoom range Fit set stays.
  function showBox(v, box, least) {
    const bw = Math.max(box[2] - box[0], least), bh = Math.max(box[3] - box[1], least);
    const s = Math.min(v.w / bw, v.h / bh) * 0.9;
    return { s, ...centring(v, v.side, s, (box[0] + box[2]) / 2, (box[1] + box[3]) / 2) };
  }
  // Whether view v shows all of board box b.
  function holdsBox(v, b) {
    const m = signOf(v.side);
    const xa = m * v.s * b[0] + v.tx, xb = m * v.s * b[2] + v.tx;
    return Math.min(xa, xb) >= 0 && Math.max(xa, xb) <= v.w && v.ty - v.s * b[3] >= 0 && v.ty - v.s * b[1] <= v.h;
  }
  // The end of a part's rotation mark, `length` inches from its placement point (x, y): toward its
  // 0-degree direction (+x) turned counter-clockwise by its rotation, as seen from its own side,
  // so that the bottom, seen from below, shows the same angle as the report.
  function rotationEnd(x, y, rotation, side, length) {
    const a = rotation * Math.PI / 180;
    return [x + signOf(side) * length * Math.cos(a), y + length * Math.sin(a)];
  }
  // Where a designator goes: beside or above the placement target, never over it. At screen point
  // (sx, sy) with a target of radius r px: above it, centred; or, for a part taller than wide,
  // turned to read upward, to its right.
  function refAnchor(sx, sy, r, vertical) {
    const gap = r + 2;
    return vertical ? { x: sx + gap, y: sy, turned: true } : { x: sx, y: sy - gap, turned: false };
  }
  // What moves a drawing made for view `from` to view `to` (same side): scale by k, then shift by (x, y).
  function shiftBetween(from, to) {
    const k = to.s / from.s;
    return { k, x: to.tx - k * from.tx, y: to.ty - k * from.ty };
  }
  // The box Fit shows: the outlines' (flat lists x0, y0, x1, y1, ...) and the boxes of the placed
  // parts, on the board or off it; a board too small to see is widened to a tenth of an inch, and
  // with nothing at all it is the unit square.
  function boardBox(outlines, boxes) {
    let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    const add = (x, y) => { if (x < x0) x0 = x; if (x > x1) x1 = x; if (y < y0) y0 = y; if (y > y1) y1 = y; };
    for (const c of outlines) for (let k = 0; k + 1 < c.length; k += 2) add(c[k], c[k + 1]);
    for (const b of boxes) { add(b[0], b[1]); add(b[2], b[3]); }
    if (!(x1 >= x0)) return [0, 0, 1, 1];
    if (x1 - x0 < 0.1) { x0 -= 0.05; x1 += 0.05; }
    if (y1 - y0 < 0.1) { y0 -= 0.05; y1 += 0.05; }
    return [x0, y0, x1, y1];
  }

  return {
    clamp, signOf, otherSide, esc, classKey,
    formatLength, formatCount, rowCountText, scaleBar,
    tableColumns, sortRows, nextSort, searchKey, searchNeedle, matchRows, refList, partsText,
    groupParts, groupColumns, groupSearchKey, naturalOrder, hashText,
    toBoard, toScreen, fitView, zoomAt, centreOn, showBox, turnTo, shownBox, holdsBox, shiftBetween, boardBox,
    rotationEnd, refAnchor,
  };
})();

// ==================================================================== the page
(function () {
  // Under Node (the tests of the pure part) there is no document, and nothing more to do.
  if (typeof document === 'undefined') return;
  const { clamp, signOf, otherSide, esc, classKey, formatLength, formatCount, toBoard } = reviewPure;

  // ------------------------------------------------------------------ constants
  const ROW_OVERSCAN = 10;          // rows rendered beyond the visible ones, so fast scrolling shows no gaps
  const TARGET_R = 0.02;            // inches: outer ring radius of a placement target
  const PARTS_PER_CELL = 60;        // about this many parts share one grid cell's paths (see makeGrid)
  const LINES_PX_PER_IN = 35;       // footprint lines and targets are drawn from this zoom on (sub-pixel below it)
  const DETAIL_PX_PER_IN = 90;      // glue spots and pin 1 are drawn from this zoom on (they are dots of a pixel below it)
  const MIN_TEXT_PX = 5;            // designators smaller than this on screen are not drawn
  const PIN1_MIN_PX = 2;            // the pin-1 dot's least radius on screen
  const SETTLE_MS = 160;            // a zoom or pan gesture ends when the input has been quiet this long
  const IDLE_SLICE_MS = 12;         // background work runs in slices this short, so input never waits long
  const MARK_SLICE = 2000;          // part marks made per background slice
  const PICK_SLACK_PX = 3;          // a part this close to the pointer counts as under it
  const PAN_STEP = 0.15;            // an arrow key pans the board by this share of the view
  const KEY_ZOOM = 1.5;             // + and - zoom by this factor
  const AXIS_PX = 44;               // the length of the origin's axes on screen
  const SVGNS = 'http://www.w3.org/2000/svg';

  const $ = (id) => document.getElementById(id);
  // The style sheet's custom properties: the values that the style and the script share are set there.
  const rootStyle = getComputedStyle(document.documentElement);
  const cssVar = (name) => rootStyle.getPropertyValue(name).trim();
  const cssNumber = (name) => parseFloat(cssVar(name));   // a length in px, or a plain number
  const ROW_H = cssNumber('--row-h');

  // ------------------------------------------------------------------ data
  // The data's text is kept until its fingerprint is taken (see the ticks).
  let dataText = $('board-data').textContent;
  const data = (() => {
    try {
      return JSON.parse(dataText);
    } catch (err) {
      document.body.innerHTML = '<div class="load-error">The board data in this page cannot be read: ' +
        esc(String(err && err.message)) + '</div>';
      throw err;
    }
  })();
  const parts = data.parts;
  // Path units per inch: the data give every drawing coordinate as a whole number of them, and
  // the placement points in inches.
  const U = data.scale;
  // The board outlines in inches, for the boxes.
  const outlinesInches = data.outlines.map((c) => c.map((v) => v / U));
  const unitLabel = data.units.word;
  const UNIT_NAMES = { mm: 'millimetres', in: 'inches', mil: 'mils' };

  // Board inches to path units.
  function q(v) { return Math.round(v * U); }
  // The pads of a part on copper layer `layer` ("top", "bottom" or "inner").
  const NO_PADS = [];
  function padsOn(p, layer) { return p.pads[layer] || NO_PADS; }

  // ------------------------------------------------------------------ path data
  // The data give every pad, outline line and mark on the board, ready to draw: the page only
  // turns them into path data. Pads are counter-clockwise in board coordinates (y up); drill holes
  // are drawn clockwise, so with the nonzero fill rule they punch through their own pad only.
  function padPath(pad) {
    let d = pad.circle ? circleData(pad.circle[0], pad.circle[1], pad.circle[2], true) : polyPath(pad.polygon, true);
    if (pad.hole) d += circleData(pad.hole[0], pad.hole[1], pad.hole[2], false);
    return d;
  }
  // A flat list of points x0, y0, x1, y1, ... (path units) as path data, closed or open.
  function polyPath(pts, closed) {
    if (pts.length < 4) return '';
    let d = 'M' + pts[0] + ' ' + pts[1];
    for (let k = 2; k + 1 < pts.length; k += 2) d += 'L' + pts[k] + ' ' + pts[k + 1];
    return closed ? d + 'Z' : d;
  }
  // A circle about (cx, cy) of radius r, in path units.
  function circleData(cx, cy, r, ccw) {
    const sweep = ccw ? ' 0 1 1 ' : ' 0 1 0 ';
    return 'M' + (cx + r) + ' ' + cy + 'A' + r + ' ' + r + sweep + (cx - r) + ' ' + cy +
           'A' + r + ' ' + r + sweep + (cx + r) + ' ' + cy + 'Z';
  }
  // The same in inches.
  function circlePath(x, y, r, ccw) { return circleData(q(x), q(y), q(r), ccw); }
  // hl, hw: half length and half width of a box about (cx, cy) with corners of radius r.
  function roundRectPath(cx, cy, hl, hw, r) {
    const at = (u, v) => q(cx + u) + ' ' + q(cy + v);
    const rr = q(r), arc = (u, v) => 'A' + rr + ' ' + rr + ' 0 0 1 ' + at(u, v);
    return 'M' + at(-hl + r, -hw) + 'L' + at(hl - r, -hw) + arc(hl, -hw + r) + 'L' + at(hl, hw - r) + arc(hl - r, hw) +
           'L' + at(-hl + r, hw) + arc(-hl, hw - r) + 'L' + at(-hl, -hw + r) + arc(-hl + r, -hw) + 'Z';
  }

  // ------------------------------------------------------------------ per-part facts
  // Bounding box of everything drawn for a part, in board inches.
  function partBox(p) {
    const b = [p.x - TARGET_R, p.y - TARGET_R, p.x + TARGET_R, p.y + TARGET_R];
    for (const layer in p.pads) {
      for (const pad of p.pads[layer]) {
        if (pad.circle) growBox(b, pad.circle[0] / U, pad.circle[1] / U, pad.circle[2] / U, pad.circle[2] / U);
        else for (let k = 0; k + 1 < pad.polygon.length; k += 2) growBox(b, pad.polygon[k] / U, pad.polygon[k + 1] / U, 0, 0);
      }
    }
    for (const ln of p.outline) {
      const w = ln.width / 2 / U;
      for (let k = 0; k + 1 < ln.points.length; k += 2) growBox(b, ln.points[k] / U, ln.points[k + 1] / U, w, w);
    }
    for (const g of p.glue) growBox(b, g[0] / U, g[1] / U, g[2] / 2 / U, g[2] / 2 / U);
    return b;
  }
  function growBox(b, x, y, hx, hy) {
    if (x - hx < b[0]) b[0] = x - hx;
    if (y - hy < b[1]) b[1] = y - hy;
    if (x + hx > b[2]) b[2] = x + hx;
    if (y + hy > b[3]) b[3] = y + hy;
  }
  // Box b grown to hold box o too.
  function growToBox(b, o) {
    if (o[0] < b[0]) b[0] = o[0];
    if (o[1] < b[1]) b[1] = o[1];
    if (o[2] > b[2]) b[2] = o[2];
    if (o[3] > b[3]) b[3] = o[3];
  }
  const boxes = parts.map(partBox);

  const placed = parts.map((p, i) => i).filter((i) => !parts[i].excluded);
  // What Fit (and the printed board) shows: the outline and every placed part, on the board or off it.
  const fitBox = reviewPure.boardBox(outlinesInches, placed.map((i) => boxes[i]));
  const counts = {
    top: placed.filter((i) => parts[i].side === 'top').length,
    bottom: placed.filter((i) => parts[i].side === 'bottom').length,
    excluded: parts.length - placed.length,
  };

  // Copper path data of a part on one layer (a through-hole part has copper on both).
  function copper(i, layer) {
    let d = '';
    for (const pad of padsOn(parts[i], layer)) d += padPath(pad);
    return d;
  }

  // Designator text along the longer side of the part, about a third of its width high.
  function refLayout(i) {
    const box = boxes[i], bw = box[2] - box[0], bh = box[3] - box[1], len = Math.max(1, parts[i].ref.length);
    const vertical = bh > bw * 1.25 && len > 1;
    const along = vertical ? bh : bw, across = vertical ? bw : bh;
    return { vertical, size: clamp(Math.min(across * 0.34, along * 0.8 / (0.6 * len)), 0.01, 0.06) };
  }
  const refLayouts = parts.map((p, i) => refLayout(i));

  // ------------------------------------------------------------------ path data of the marks
  // Footprint lines as path data per line width (a footprint seldom has more than two widths).
  function outlineByWidth(lines) {
    const byWidth = new Map();
    for (const ln of lines) {
      const d = polyPath(ln.points, ln.closed);
      if (!d) continue;
      const w = lineWidthUnits(ln.width);
      byWidth.set(w, (byWidth.get(w) || '') + d);
    }
    return byWidth;
  }
  // Hair-thin lines still get a visible width when zoomed in.
  function lineWidthUnits(w) { return Math.max(w, 20); }

  // The rotation mark: a hand from the placement point to the target's ring, toward the part's
  // 0-degree direction turned by its report rotation (see reviewPure.rotationEnd).
  function rotationPath(p) {
    const [x, y] = reviewPure.rotationEnd(p.x, p.y, Number(p.rotation) || 0, p.side, TARGET_R);
    return 'M' + q(p.x) + ' ' + q(p.y) + 'L' + q(x) + ' ' + q(y);
  }
  // Placement target: SMD one ring, Thru-Hole two, Mixed three (all with a cross-hair), Null four fine rings.
  const RINGS = { 'SMD': [1], 'Thru-Hole': [1, 0.65], 'Mixed': [1, 0.7, 0.4], 'Null': [1, 0.78, 0.56, 0.34] };
  function targetPath(p) {
    const rings = RINGS[p.class] || [1];
    let d = '';
    for (const k of rings) d += circlePath(p.x, p.y, TARGET_R * k, true);
    if (p.class !== 'Null') {
      const x = q(p.x), y = q(p.y), c = q(TARGET_R * 0.72);
      d += 'M' + (x - c) + ' ' + (y - c) + 'L' + (x + c) + ' ' + (y + c) + 'M' + (x - c) + ' ' + (y + c) + 'L' + (x + c) + ' ' + (y - c);
    }
    return d;
  }

  // ------------------------------------------------------------------ findings frames
  // A part with findings is framed on the board: a solid frame for an error, a dashed one for a
  // note (the stronger wins). Only the kinds switched on in the findings list count.
  const FRAME_NOTE = 1, FRAME_ERROR = 2;
  const kindShown = new Map(data.kinds.map((kd) => [kd.kind, true]));
  const partFrames = new Uint8Array(parts.length);
  let framesVersion = 0;     // counts the changes of the kinds shown: drawings made before are stale
  function computeFrames() {
    framesVersion++;
    partFrames.fill(0);
    for (const f of data.findings) {
      if (!kindShown.get(f.kind)) continue;
      const strength = f.severity === 'error' ? FRAME_ERROR : FRAME_NOTE;
      for (const i of f.parts) if (partFrames[i] < strength) partFrames[i] = strength;
    }
  }
  computeFrames();

  // A rounded box a little larger than the part: the frame of a part with findings.
  function haloPath(i) {
    const b = boxes[i], mg = 0.015;
    return roundRectPath((b[0] + b[2]) / 2, (b[1] + b[3]) / 2, (b[2] - b[0]) / 2 + mg, (b[3] - b[1]) / 2 + mg, mg);
  }

  function outlinePath() {
    return data.outlines.map((c) => polyPath(c, true)).join('');
  }

  // ------------------------------------------------------------------ grid of cells
  // The parts are sorted into a grid by the middle of their box. Each cell keeps, per drawing layer,
  // one Path2D with the shapes of all its parts, made on first use: the canvas then fills a few
  // hundred paths for a whole board of 20,000 parts instead of a hundred thousand shapes, and a
  // zoomed-in view skips the cells it does not touch.
  const grid = makeGrid();
  function makeGrid() {
    if (!parts.length) return [];
    let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    for (const b of boxes) {
      x0 = Math.min(x0, b[0]); y0 = Math.min(y0, b[1]); x1 = Math.max(x1, b[2]); y1 = Math.max(y1, b[3]);
    }
    const n = Math.max(1, Math.round(Math.sqrt(parts.length / PARTS_PER_CELL)));
    const cw = (x1 - x0) / n || 1, ch = (y1 - y0) / n || 1;
    const cells = [];
    for (let k = 0; k < n * n; k++) {
      cells.push({ parts: [], box: [Infinity, Infinity, -Infinity, -Infinity], paths: new Map(), excluded: { top: false, bottom: false } });
    }
    boxes.forEach((b, i) => {
      const cx = clamp(Math.floor(((b[0] + b[2]) / 2 - x0) / cw), 0, n - 1);
      const cy = clamp(Math.floor(((b[1] + b[3]) / 2 - y0) / ch), 0, n - 1);
      const cell = cells[cy * n + cx];
      cell.parts.push(i);
      if (parts[i].excluded) cell.excluded[parts[i].side] = true;
      growToBox(cell.box, b);
    });
    return cells.filter((c) => c.parts.length);
  }

  // The Path2D of one layer of a cell: the path data of the parts that `take` accepts, or null.
  function cellPath(cell, key, take, pathData) {
    let path = cell.paths.get(key);
    if (path === undefined) {
      let d = '';
      for (const i of cell.parts) if (take(i)) d += pathData(i);
      path = d ? new Path2D(d) : null;
      cell.paths.set(key, path);
    }
    return path;
  }

  // The layers of a side's own parts, kept apart for placed and excluded parts (those are drawn faded).
  const PART_LAYERS = {
    cu: (i, side) => copper(i, side),
    frameError: (i) => (partFrames[i] === FRAME_ERROR ? haloPath(i) : ''),
    frameNote: (i) => (partFrames[i] === FRAME_NOTE ? haloPath(i) : ''),
    tgt: (i) => (parts[i].class !== 'Null' ? targetPath(parts[i]) : ''),
    tgtNull: (i) => (parts[i].class === 'Null' ? targetPath(parts[i]) : ''),   // finer rings, drawn thinner
    rot: (i) => rotationPath(parts[i]),
    glue: (i) => parts[i].glue.map((g) => circleData(g[0], g[1], g[2] / 2, true)).join(''),
  };
  function partLayer(cell, name, side, excluded) {
    return cellPath(cell, name + ':' + side + ':' + excluded,
      (i) => parts[i].side === side && parts[i].excluded === excluded, (i) => PART_LAYERS[name](i, side));
  }
  // Copper on layer `side` of the other side's parts: their through-hole pins.
  function thruLayer(cell, side) {
    return cellPath(cell, 'thru:' + side, (i) => parts[i].side !== side, (i) => copper(i, side));
  }
  // Footprint lines: [width in path units, Path2D] per line width.
  function lineLayer(cell, side, excluded) {
    const key = 'ln:' + side + ':' + excluded;
    let list = cell.paths.get(key);
    if (list === undefined) {
      const byWidth = new Map();
      for (const i of cell.parts) {
        if (parts[i].side !== side || parts[i].excluded !== excluded) continue;
        for (const [w, d] of outlineByWidth(parts[i].outline)) byWidth.set(w, (byWidth.get(w) || '') + d);
      }
      list = [...byWidth].map(([w, d]) => [w, new Path2D(d)]);
      cell.paths.set(key, list);
    }
    return list;
  }

  // ------------------------------------------------------------------ drawing on the canvas
  // The canvas's colours, line widths and fades come from the style sheet's custom properties, which
  // the highlights use too, so the look is set in one place.
  const PAINT = {
    board: cssVar('--board'), edge: cssVar('--edge'), top: cssVar('--cu-top'), bottom: cssVar('--cu-bottom'),
    silk: cssVar('--silk'), target: cssVar('--target'), glue: cssVar('--glue'), pin1: cssVar('--pin1'),
    glueFill: cssVar('--glue-fill'), error: cssVar('--finding-error'), note: cssVar('--finding-note'),
    casing: cssVar('--casing'), casingWidth: cssNumber('--casing-width'),
    frameWidth: cssNumber('--frame-width'), noteDash: cssVar('--note-dash').split(/[\s,]+/).map(Number),
    refFont: cssVar('--ref-font'), refFill: cssVar('--ref-fill'), refRim: cssVar('--ref-rim'), refRimWidth: cssNumber('--ref-rim-width'),
    lineAlpha: cssNumber('--line-opacity'), targetWidth: cssNumber('--target-width'), nullTargetWidth: cssNumber('--null-target-width'),
    glueWidth: cssNumber('--glue-width'), excludedAlpha: cssNumber('--excluded-opacity'), rotationWidth: cssNumber('--rotation-width'),
    excludedDash: cssVar('--excluded-dash').split(/[\s,]+/).map(Number),
  };
  const show = {};           // layer switches: edge, cu, other, ln, tgt, glue, p1, ref
  const edgeData = outlinePath();
  const edgePath = edgeData ? new Path2D(edgeData) : null;
  // The faint other layer and the through-hole copper of the other side's parts are context: the
  // first paint goes without them, and they are made in the background right after it.
  let contextReady = false;

  // Draw the board as view `v` shows it: v = { side, s, tx, ty, w, h, dpr } (see toBoard).
  // Level of detail by zoom: copper and the findings halos always; footprint lines and targets from
  // LINES_PX_PER_IN on; glue spots, pin 1 and designators from DETAIL_PX_PER_IN on (designators
  // only where their text is MIN_TEXT_PX or more). Below that they would be specks of a pixel.
  function drawBoard(ctx, v) {
    const k = v.s / U, cells = cellsIn(v);
    clearTo(ctx, v);
    if (show.edge && edgePath) {
      ctx.fillStyle = PAINT.board;
      ctx.fill(edgePath, 'evenodd');
      strokeStyle(ctx, PAINT.edge, 1.5 / k);
      ctx.stroke(edgePath);
    }
    if (show.cu && contextReady) drawContext(ctx, v, cells);
    drawParts(ctx, v, cells, false);
    if (cells.some((c) => c.excluded[v.side])) {
      // Excluded parts fade as a whole: drawn apart and laid on faded, so their marks do not show
      // through each other.
      const faded = scratch(v), fctx = faded.getContext('2d');
      clearTo(fctx, v);
      drawParts(fctx, v, cells, true);
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.globalAlpha = PAINT.excludedAlpha;
      ctx.drawImage(faded, 0, 0);
      ctx.globalAlpha = 1;
    }
  }
  // Clear a canvas and set it to draw in path units (marks that keep a screen width then get
  // widths of CSS pixels / (s / U)).
  function clearTo(ctx, v) {
    const m = signOf(v.side), k = v.s / U;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, ctx.canvas.width, ctx.canvas.height);
    ctx.setTransform(v.dpr * m * k, 0, 0, -v.dpr * k, v.dpr * v.tx, v.dpr * v.ty);
  }
  let scratchCanvas = null;
  function scratch(v) {
    if (!scratchCanvas) scratchCanvas = document.createElement('canvas');
    sizeCanvas(scratchCanvas, v);
    return scratchCanvas;
  }

  // The other copper layer, faint, and the through-hole pins that the other side's parts have on this one.
  function drawContext(ctx, v, cells) {
    const other = otherSide(v.side);
    if (show.other) {
      ctx.globalAlpha = 0.17;
      ctx.fillStyle = PAINT[other];
      for (const c of cells) {
        for (const p of [partLayer(c, 'cu', other, false), partLayer(c, 'cu', other, true), thruLayer(c, other)]) if (p) ctx.fill(p);
      }
      ctx.globalAlpha = 1;
    }
    fillCells(ctx, cells, PAINT[v.side], (c) => thruLayer(c, v.side));
  }

  // The parts of the side shown, layer by layer in the order a part's marks stack up.
  function drawParts(ctx, v, cells, excluded) {
    const side = v.side, k = v.s / U, lines = v.s >= LINES_PX_PER_IN, detail = v.s >= DETAIL_PX_PER_IN;
    const layer = (name) => (c) => partLayer(c, name, side, excluded);
    if (show.cu) fillCells(ctx, cells, PAINT[side], layer('cu'));
    if (lines && show.ln) drawLines(ctx, cells, side, excluded);
    // The designator goes under the marks, so it never hides the target or pin 1.
    if (detail && show.ref) drawDesignators(ctx, v, cells, excluded);
    // Marks that must read on copper and on the bare board alike go on a dark casing.
    const cased = (get, colour, width) => {
      strokeCells(ctx, cells, PAINT.casing, width + PAINT.casingWidth / k, get);
      strokeCells(ctx, cells, colour, width, get);
    };
    if (detail && show.glue) {
      fillCells(ctx, cells, PAINT.glueFill, layer('glue'));
      cased(layer('glue'), PAINT.glue, PAINT.glueWidth / k);
    }
    if (lines && show.tgt) {
      cased(layer('tgt'), PAINT.target, PAINT.targetWidth / k);
      cased(layer('tgtNull'), PAINT.target, PAINT.nullTargetWidth / k);
      cased(layer('rot'), PAINT.target, PAINT.rotationWidth / k);
    }
    if (detail && show.p1) drawPin1(ctx, v, cells, excluded);
    if (show.fd) drawFrames(ctx, cells, k, layer);
  }
  // Pin 1: the given dot, never smaller on screen than PIN1_MIN_PX, light on a dark ring so that
  // it reads on copper, on a selected part and on the bare board. Its size follows the zoom, so
  // it is made for each drawing, for the parts in view.
  function drawPin1(ctx, v, cells, excluded) {
    const k = v.s / U, least = PIN1_MIN_PX / k, path = new Path2D();
    for (const c of cells) {
      for (const i of c.parts) {
        const p = parts[i];
        if (!p.pin1 || p.side !== v.side || p.excluded !== excluded) continue;
        const r = Math.max(p.pin1[2], least);
        path.moveTo(p.pin1[0] + r, p.pin1[1]);
        path.arc(p.pin1[0], p.pin1[1], r, 0, 2 * Math.PI);
      }
    }
    strokeStyle(ctx, PAINT.casing, 1.5 * PAINT.casingWidth / k);   // a ring of 1.5 px around the dot
    ctx.stroke(path);
    ctx.fillStyle = PAINT.pin1;
    ctx.fill(path);
  }
  // Findings frames over everything, as outlines of a screen width, on a dark casing so that they
  // read on copper and on the bare board alike: errors solid, notes dashed.
  function drawFrames(ctx, cells, k, layer) {
    for (const [name, colour, dash] of [['frameError', PAINT.error, []], ['frameNote', PAINT.note, PAINT.noteDash]]) {
      const get = layer(name);
      if (!cells.some((c) => get(c))) continue;
      strokeCells(ctx, cells, PAINT.casing, (PAINT.frameWidth + PAINT.casingWidth) / k, get);
      strokeStyle(ctx, colour, PAINT.frameWidth / k);
      ctx.setLineDash(dash.map((d) => d / k));
      for (const c of cells) { const p = get(c); if (p) ctx.stroke(p); }
      ctx.setLineDash([]);
    }
  }

  function fillCells(ctx, cells, style, get) {
    ctx.fillStyle = style;
    for (const c of cells) { const p = get(c); if (p) ctx.fill(p); }
  }
  function strokeCells(ctx, cells, style, width, get) {
    strokeStyle(ctx, style, width);
    for (const c of cells) { const p = get(c); if (p) ctx.stroke(p); }
  }
  function strokeStyle(ctx, style, width) {
    ctx.strokeStyle = style;
    ctx.lineWidth = width;
    ctx.lineCap = 'butt';
    ctx.lineJoin = 'miter';
    ctx.setLineDash([]);
  }

  // Footprint lines scale with the board; an excluded part's are dashed.
  function drawLines(ctx, cells, side, excluded) {
    strokeStyle(ctx, PAINT.silk, 1);
    ctx.lineCap = ctx.lineJoin = 'round';
    if (excluded) ctx.setLineDash(PAINT.excludedDash);
    ctx.globalAlpha = PAINT.lineAlpha;
    for (const c of cells) {
      for (const [w, path] of lineLayer(c, side, excluded)) { ctx.lineWidth = w; ctx.stroke(path); }
    }
    ctx.globalAlpha = 1;
  }

  // Designators beside or above their placement target (reviewPure.refAnchor), never over it,
  // upright and readable on either side (never mirrored), drawn as a 10 px font scaled to their size.
  function drawDesignators(ctx, v, cells, excluded) {
    ctx.save();
    ctx.font = PAINT.refFont;
    ctx.textAlign = 'center';
    strokeStyle(ctx, PAINT.refRim, PAINT.refRimWidth);
    ctx.lineJoin = 'round';
    ctx.fillStyle = PAINT.refFill;
    const m = signOf(v.side), minSize = MIN_TEXT_PX / v.s, r = TARGET_R * v.s;
    for (const c of cells) {
      for (const i of c.parts) {
        const p = parts[i], lay = refLayouts[i];
        if (p.side !== v.side || p.excluded !== excluded || lay.size < minSize) continue;
        const reach = lay.size * v.s * p.ref.length + r;   // more than the text's length and gap
        const sx = m * v.s * p.x + v.tx, sy = -v.s * p.y + v.ty;
        if (sx < -reach || sy < -reach || sx > v.w + reach || sy > v.h + reach) continue;
        const at = reviewPure.refAnchor(sx, sy, r, lay.vertical);
        const f = v.dpr * lay.size * v.s / 10;   // device pixels per pixel of the 10 px font
        ctx.setTransform(f, 0, 0, f, v.dpr * at.x, v.dpr * at.y);
        if (at.turned) ctx.rotate(-Math.PI / 2);
        ctx.textBaseline = at.turned ? 'top' : 'bottom';
        ctx.strokeText(p.ref, 0, 0);   // the dark rim first, so the letters stay whole
        ctx.fillText(p.ref, 0, 0);
      }
    }
    ctx.restore();
  }

  // The cells whose parts may show in view `v` (with a margin for marks drawn beyond a part's box).
  function cellsIn(v) {
    const [x0, y0, x1, y1] = reviewPure.shownBox(v, 0.02 + 4 / v.s);
    return grid.filter((c) => c.box[2] >= x0 && c.box[0] <= x1 && c.box[3] >= y0 && c.box[1] <= y1);
  }

  // ------------------------------------------------------------------ the parts in the document
  // The canvas shows the drawing. The SVG holds one invisible mark per part of the side shown: a
  // circle on its placement point that carries the designator and the selection, takes the pointer
  // over the target, and gives scripts and tests a place on the page. One plain element per part
  // keeps the document small and quick to lay out; a click or hover elsewhere on a part is matched
  // to it by partAt(). Marks are made a slice at a time in the background, or at once when shown.
  function newMarks(side) {
    const mine = [];
    for (let i = 0; i < parts.length; i++) if (parts[i].side === side) mine.push(i);
    const g = document.createElementNS(SVGNS, 'g');
    g.setAttribute('data-side', side);
    return { side, g, mine, els: new Array(parts.length), done: 0 };
  }
  function buildMarks(layer, upto) {
    const from = layer.done;
    if (upto <= from) return;
    let html = '';
    for (let k = from; k < upto; k++) html += partMark(layer.mine[k]);
    layer.g.insertAdjacentHTML('beforeend', html);
    const marks = layer.g.children;
    for (let k = from; k < upto; k++) layer.els[layer.mine[k]] = marks[k];
    layer.done = upto;
  }
  function partMark(i) {
    const p = parts[i];
    const cls = 'part c-' + classKey(p.class) + (p.excluded ? ' excluded' : '') + (p.findings.length ? ' has-f' : '');
    // Excluded parts are not placed: no data-ref, so they never count as parts to place.
    return '<circle class="' + cls + '" ' + (p.excluded ? 'data-excluded-ref="' : 'data-ref="') + esc(p.ref) + '" data-i="' + i +
      '" cx="' + q(p.x) + '" cy="' + q(p.y) + '" r="' + q(TARGET_R) + '"/>';
  }

  // The part of `side` under board point (x, y): the smallest whose box, grown by `slack` inches,
  // holds the point, so that a small part beside a big one's pins can still be picked; -1 for none.
  function partAt(x, y, side, slack) {
    const outside = (b) => x < b[0] - slack || x > b[2] + slack || y < b[1] - slack || y > b[3] + slack;
    let best = -1, bestArea = Infinity;
    for (const c of grid) {
      if (outside(c.box)) continue;
      for (const i of c.parts) {
        const b = boxes[i];
        if (parts[i].side !== side || outside(b)) continue;
        const area = (b[2] - b[0] + 2 * slack) * (b[3] - b[1] + 2 * slack);
        if (area < bestArea) { bestArea = area; best = i; }
      }
    }
    return best;
  }

  // ------------------------------------------------------------------ highlights
  // The selected part and the part under the pointer are drawn again over the canvas, in the SVG,
  // with the detail the canvas gives them: one part is cheap to draw there, and the canvas need not
  // be redrawn for a click or a hover.
  function detailLevel(i, s) {
    if (s < LINES_PX_PER_IN) return 0;
    if (s < DETAIL_PX_PER_IN) return 1;
    return refLayouts[i].size * s >= MIN_TEXT_PX ? 3 : 2;
  }
  function partOverlay(i, cls) {
    const p = parts[i], level = detailLevel(i, view.drawn.s);
    let s = '<g class="hl ' + cls + (p.excluded ? ' excluded' : '') + '">';
    const cu = copper(i, p.side);
    if (cu) s += '<path class="cu-' + p.side + '" d="' + cu + '"/>';
    if (level >= 1) for (const [w, d] of outlineByWidth(p.outline)) s += '<path class="ln" stroke-width="' + w + '" d="' + d + '"/>';
    if (level >= 3) s += refSvg(i);
    // Marks on a dark casing, as the canvas draws them.
    const cased = (cls, d) => '<path class="case ' + cls + '" d="' + d + '"/><path class="' + cls + '" d="' + d + '"/>';
    if (level >= 2 && p.glue.length) s += cased('glue', PART_LAYERS.glue(i));
    if (level >= 1) s += cased('tgt t-' + classKey(p.class), targetPath(p)) + cased('rot', rotationPath(p));
    if (level >= 2 && p.pin1) {
      const r = Math.max(p.pin1[2], PIN1_MIN_PX * U / view.drawn.s);
      s += '<circle class="p1" cx="' + p.pin1[0] + '" cy="' + p.pin1[1] + '" r="' + r.toFixed(1) + '"/>';
    }
    return s + '</g>';
  }
  // Designator beside or above the target, as drawDesignators() puts it: a 10 px font scaled, and
  // flipped so that it is upright and readable on either side. The gap is set in board units for
  // the zoom the SVG is drawn at.
  function refSvg(i) {
    const { size, vertical } = refLayouts[i], p = parts[i];
    const k = size * U / 10, m = signOf(p.side), gap = TARGET_R + 2 / view.drawn.s;
    const x = q(vertical ? p.x + m * gap : p.x), y = q(vertical ? p.y : p.y + gap);
    return '<text class="ref' + (vertical ? ' turned' : '') + '" transform="matrix(' + (m * k).toFixed(3) + ' 0 0 ' + (-k).toFixed(3) +
           ' ' + x + ' ' + y + ')' + (vertical ? ' rotate(-90)' : '') + '">' + esc(p.ref) + '</text>';
  }
  function setHover(i) {
    if (i === state.hovered) return;
    state.hovered = i;
    hoverLayer.innerHTML = i >= 0 ? partOverlay(i, 'hov') : '';
    svg.classList.toggle('over-part', i >= 0);
  }
  // The detail of the highlights follows the zoom.
  function redrawHighlights() {
    if (state.hovered >= 0) hoverLayer.innerHTML = partOverlay(state.hovered, 'hov');
    markSelected();
  }

  // ------------------------------------------------------------------ background work
  // Jobs run in slices of IDLE_SLICE_MS between input events and frames.
  const idleJobs = [];
  let idleTimer = 0;
  function idle(job) {
    idleJobs.push(job);
    if (!idleTimer) idleTimer = setTimeout(runIdle, 0);
  }
  function runIdle() {
    idleTimer = 0;
    const end = performance.now() + IDLE_SLICE_MS;
    while (idleJobs.length && performance.now() < end) idleJobs.shift()();
    if (idleJobs.length) idleTimer = setTimeout(runIdle, 0);
  }
  // After the first paint: the context copper (the view is then drawn again with it), the other
  // side's part marks and the paths it needs first, so switching sides does not wait for them.
  function warmUp() {
    const shown = markLayers[view.side];
    buildMarks(shown, shown.mine.length);
    markSelected();
    for (const c of grid) {
      idle(() => {
        for (const side of ['top', 'bottom']) {
          partLayer(c, 'cu', side, false); partLayer(c, 'cu', side, true); thruLayer(c, side);
        }
      });
    }
    idle(() => {
      contextReady = true;
      if (!settleTimer) requestFrame(2);   // a gesture under way gets it when it ends
    });
    const other = otherSide(view.side);
    if (!markLayers[other]) markLayers[other] = newMarks(other);
    const layer = markLayers[other];
    for (let k = 0; k < layer.mine.length; k += MARK_SLICE) idle(() => buildMarks(layer, Math.min(layer.mine.length, layer.done + MARK_SLICE)));
    for (const c of grid) {
      idle(() => { for (const name of ['frameError', 'frameNote']) { partLayer(c, name, other, false); partLayer(c, name, other, true); } });
    }
  }

  // ------------------------------------------------------------------ state
  // What the board view shows: the side and the transform, its size in CSS px (see reviewPure's
  // view transform), the scale Fit chose, and the view that the SVG's own transform is set for.
  const view = {
    side: counts.top === 0 && counts.bottom > 0 ? 'bottom' : 'top',
    s: 100, tx: 0, ty: 0, w: 1, h: 1,
    fitScale: 1,
    drawn: { s: 100, tx: 0, ty: 0 },
  };
  // The selection and the table: the selected part and the part under the pointer (-1 for none);
  // a group of selected parts (a finding's, a kind's), with its key, a label, its parts and the
  // same as a set, or null; the table's view ("parts" or "groups") and the search.
  const state = {
    sel: -1,
    hovered: -1,
    group: null,
    mode: 'parts',
    query: '',
  };
  const svg = $('board'), stage = $('stage'), wrap = $('view-wrap'), viewG = $('view'), slot = $('side-slot');
  const selLayer = $('sel-layer'), hoverLayer = $('hover-layer');
  const markLayers = {};     // part marks per side, kept while the other side is shown
  let settleTimer = 0;

  // Set the SVG (part marks and highlights) for the current view and have the canvas drawn anew in
  // the next frame. Gestures use previewView() and get here once, when they end.
  function commitView() {
    clearTimeout(settleTimer);
    settleTimer = 0;
    const k = view.s / U;
    viewG.setAttribute('transform', 'matrix(' + signOf(view.side) * k + ' 0 0 ' + -k + ' ' + view.tx + ' ' + view.ty + ')');
    view.drawn = { s: view.s, tx: view.tx, ty: view.ty };
    redrawHighlights();
    drawOrigin();
    requestFrame(2);
  }
  // During a gesture each frame moves and scales the last drawing: a CSS transform on the SVG, and
  // two image copies on the canvas (see drawPreview). The full drawing follows when the input has
  // been quiet for SETTLE_MS.
  function previewView() {
    clearTimeout(settleTimer);
    settleTimer = setTimeout(commitView, SETTLE_MS);
    requestFrame(1);
  }

  // ------------------------------------------------------------------ frames
  // The canvas shows `state` after every frame. A full drawing is made once per committed view;
  // a preview copies the last full drawing, scaled and moved, over the last full drawing of the
  // whole board (which fills in what the first one never had), whatever the board holds.
  const paintCanvas = $('paint'), paintCtx = paintCanvas.getContext('2d');
  let sharp = null;          // { canvas, v }: the last full drawing and the view it was made for
  const overview = {};       // side -> the last full drawing that held the whole board, with its view
  // Drawings made with old layer or findings switches must not come back in a gesture's preview.
  function dropOverviews() { for (const side of Object.keys(overview)) delete overview[side]; }
  let frameWanted = 0;       // 0 none, 1 a preview, 2 a full drawing

  function requestFrame(kind) {
    if (!frameWanted) requestAnimationFrame(onFrame);
    frameWanted = Math.max(frameWanted, kind);
  }
  function onFrame() {
    const kind = frameWanted;
    frameWanted = 0;
    const v = currentView();
    sizeCanvas(paintCanvas, v);
    if (kind === 2) renderNow(v); else drawPreview(v);
    placeStage();
    showScale();
  }
  // What a full drawing depends on: the view, whether the context copper is ready, and the layer switches.
  function currentView() {
    return { side: view.side, s: view.s, tx: view.tx, ty: view.ty, w: view.w, h: view.h, dpr: window.devicePixelRatio || 1,
      context: contextReady, switches: JSON.stringify(show) + framesVersion };
  }
  function sizeCanvas(c, v) {
    const w = Math.max(1, Math.round(v.w * v.dpr)), h = Math.max(1, Math.round(v.h * v.dpr));
    if (c.width !== w) c.width = w;
    if (c.height !== h) c.height = h;
  }
  // The SVG follows the view with a CSS transform from the view its own transform is set for.
  function placeStage() {
    const { k, x, y } = reviewPure.shiftBetween(view.drawn, view);
    stage.style.transform = k === 1 && x === 0 && y === 0 ? '' : 'translate(' + x + 'px,' + y + 'px) scale(' + k + ')';
  }

  function renderNow(v) {
    // Fit pressed again, or a side switched back and forth, asks for a view already drawn.
    const kept = [sharp, overview[v.side]].find((d) => d && sameView(d.v, v));
    if (kept) sharp = kept;
    else {
      // Draw off screen, so the drawing stays at hand for the previews of the next gesture.
      const canvas = sharp && sharp !== overview[sharp.v.side] ? sharp.canvas : document.createElement('canvas');
      sizeCanvas(canvas, v);
      drawBoard(canvas.getContext('2d'), v);
      sharp = { canvas, v };
      if (v.context && holdsBoard(v)) overview[v.side] = sharp;
    }
    paintCtx.setTransform(1, 0, 0, 1, 0, 0);
    paintCtx.clearRect(0, 0, paintCanvas.width, paintCanvas.height);
    paintCtx.drawImage(sharp.canvas, 0, 0);
  }
  // Views that differ by less than a hundredth of a pixel look the same.
  function sameView(a, b) {
    return a.side === b.side && a.w === b.w && a.h === b.h && a.dpr === b.dpr && a.context === b.context &&
      a.switches === b.switches && Math.abs(a.s / b.s - 1) < 1e-9 && Math.abs(a.tx - b.tx) < 0.01 && Math.abs(a.ty - b.ty) < 0.01;
  }
  function drawPreview(v) {
    paintCtx.setTransform(1, 0, 0, 1, 0, 0);
    paintCtx.clearRect(0, 0, paintCanvas.width, paintCanvas.height);
    const whole = overview[v.side], last = sharp && sharp.v.side === v.side ? sharp : null;
    if (whole && whole !== last) copyView(whole, v, false);
    if (last) copyView(last, v, !!whole && whole !== last);
  }
  // Copy a drawing made for view snap.v so that each board point lands where view v shows it.
  function copyView(snap, v, clearUnder) {
    const { k, x: sx, y: sy } = reviewPure.shiftBetween(snap.v, v), d = v.dpr;
    const x = sx * d, y = sy * d, w = snap.v.w * k * d, h = snap.v.h * k * d;
    if (clearUnder) paintCtx.clearRect(x, y, w, h);
    paintCtx.drawImage(snap.canvas, x, y, w, h);
  }
  // Whether view v shows every part and the whole outline.
  function holdsBoard(v) { return reviewPure.holdsBox(v, drawingBox); }
  const drawingBox = (() => {
    const b = [Infinity, Infinity, -Infinity, -Infinity];
    for (const c of grid) growToBox(b, c.box);
    for (const c of outlinesInches) for (let k = 0; k + 1 < c.length; k += 2) growBox(b, c[k], c[k + 1], 0, 0);
    return b;
  })();

  // Scale bar: a round length in report units, at most 140 px long.
  function showScale() {
    const bar = reviewPure.scaleBar(view.s, data.units, 140);
    $('scale-bar').style.width = bar.px + 'px';
    $('scale-text').textContent = bar.text;
  }

  function measure() {
    const r = wrap.getBoundingClientRect();
    view.w = Math.max(1, r.width);
    view.h = Math.max(1, r.height);
  }

  // Fit: the outline and every placed part, on the board or off it, fill the view.
  function fitState() {
    measure();
    Object.assign(view, reviewPure.fitView(view, fitBox));
  }
  function fit() { fitState(); commitView(); }

  function zoomAt(px, py, factor) {
    Object.assign(view, reviewPure.zoomAt(view, px, py, factor));
    previewView();
  }

  // Centre a part, zooming in far enough that it can be made out.
  function centreOn(i) {
    measure();
    Object.assign(view, reviewPure.centreOn(view, parts[i].x, parts[i].y, boxes[i]));
    commitView();
  }

  // ------------------------------------------------------------------ the report's origin
  // The origin with its axes, in screen pixels for the view the SVG is set for: X to the right on the
  // top side (to the left seen from below, mirrored), Y up. It is the report's (0, 0), or the
  // placement list's origin when --origin moves it.
  function drawOrigin() {
    const g = $('origin');
    if (!show.org) { g.replaceChildren(); return; }
    const [ox, oy] = reviewPure.toScreen({ side: view.side, ...view.drawn }, data.origin[0], data.origin[1]);
    const m = signOf(view.side), n = (v) => v.toFixed(1), head = 6;
    const xAxis = 'M' + n(ox) + ' ' + n(oy) + 'H' + n(ox + m * AXIS_PX) + 'M' + n(ox + m * (AXIS_PX - head)) + ' ' + n(oy - head / 1.5) +
      'L' + n(ox + m * AXIS_PX) + ' ' + n(oy) + 'L' + n(ox + m * (AXIS_PX - head)) + ' ' + n(oy + head / 1.5);
    const yAxis = 'M' + n(ox) + ' ' + n(oy) + 'V' + n(oy - AXIS_PX) + 'M' + n(ox - head / 1.5) + ' ' + n(oy - AXIS_PX + head) +
      'L' + n(ox) + ' ' + n(oy - AXIS_PX) + 'L' + n(ox + head / 1.5) + ' ' + n(oy - AXIS_PX + head);
    const axis = (cls, d) => '<path class="o-case" d="' + d + '"/><path class="o-axis ' + cls + '" d="' + d + '"/>';
    const moved = data.origin[0] !== 0 || data.origin[1] !== 0;
    g.innerHTML = '<title>' + (moved ? 'The placement list\'s origin' : 'The report\'s origin (0, 0)') + ' and its axes</title>' +
      axis('o-x', xAxis) + axis('o-y', yAxis) +
      '<circle class="o-dot" cx="' + n(ox) + '" cy="' + n(oy) + '" r="3.5"/>' +
      '<text class="o-label" x="' + n(ox + m * (AXIS_PX + 9)) + '" y="' + n(oy + 4) + '">X</text>' +
      '<text class="o-label" x="' + n(ox) + '" y="' + n(oy - AXIS_PX - 6) + '">Y</text>';
  }

  // ------------------------------------------------------------------ sides
  function sideTitle(side) { return side === 'top' ? 'Top side, seen from above' : 'Bottom side, seen from below (mirrored)'; }
  // Shows a side; its part marks are made at once unless `later` (the first paint: they follow it).
  function showSide(side, later) {
    if (side !== 'top' && side !== 'bottom') return;
    Object.assign(view, reviewPure.turnTo(view, side));
    if (!markLayers[side]) markLayers[side] = newMarks(side);
    const layer = markLayers[side];
    if (!later) buildMarks(layer, layer.mine.length);
    // Only the side shown is in the document, so [data-ref] always means "parts of this side".
    if (slot.firstChild !== layer.g) slot.replaceChildren(layer.g);
    setHover(-1);
    $('side-top').setAttribute('aria-pressed', String(side === 'top'));
    $('side-bottom').setAttribute('aria-pressed', String(side === 'bottom'));
    $('side-tag').textContent = sideTitle(side);
    markSelected();
    commitView();
  }

  // ------------------------------------------------------------------ selection
  // One part is selected, or a group of parts (all the parts of a finding or a kind), of which one
  // may be the current part. Every selected part's mark carries the class "selected".
  function isSelected(i) { return i === state.sel || (state.group !== null && state.group.members.has(i)); }
  function selectPart(i, how) {
    if (i < 0 || i >= parts.length) return;
    state.group = null;
    showPart(i, how);
  }
  // Make part i the current one (in a group, the group stays): its side, its row, the view on it.
  function showPart(i, how) {
    const p = parts[i];
    state.sel = i;
    if (p.side !== view.side) showSide(p.side);
    markSelected();
    if (how.centre) centreOn(i);
    if (how.scrollRow) revealRow(i, true);
    afterSelection();
  }
  // Select every part of `list` (a group with `key` and `label`): the side of its first placed
  // part, a view that holds its parts on that side, its first row in sight.
  function selectGroup(key, label, list) {
    if (!list.length) return;
    const first = list.find((i) => !parts[i].excluded) ?? list[0];
    state.group = { key, label, parts: list, members: new Set(list) };
    state.sel = -1;
    if (parts[first].side !== view.side) showSide(parts[first].side);
    const box = [Infinity, Infinity, -Infinity, -Infinity];
    for (const i of list) if (parts[i].side === view.side) growToBox(box, boxes[i]);
    measure();
    Object.assign(view, reviewPure.showBox(view, box, 0.8));
    markSelected();
    commitView();
    revealRow(first, true);
    afterSelection();
  }
  // The next part of the group made current, in the group's order.
  function stepGroup() {
    const list = state.group.parts;
    showPart(list[(list.indexOf(state.sel) + 1) % list.length], { centre: true, scrollRow: true });
  }
  function clearSelection() {
    state.sel = -1;
    state.group = null;
    markSelected();
    afterSelection();
  }
  function afterSelection() {
    renderRows();
    showDetails();
    markFinding();
  }
  let selEls = [];           // the part marks that carry the "selected" class
  function markSelected() {
    for (const el of selEls) el.classList.remove('selected', 'current');
    selEls = [];
    const layer = markLayers[view.side], side = view.side;
    const chosen = state.group ? state.group.parts : state.sel >= 0 ? [state.sel] : [];
    let frames = '';
    const mg = 0.03;
    for (const i of chosen) {
      if (parts[i].side !== side) continue;
      const el = layer ? layer.els[i] : null;
      if (el) { el.classList.add('selected'); selEls.push(el); }
      const b = boxes[i];
      frames += 'M' + q(b[0] - mg) + ' ' + q(b[1] - mg) + 'H' + q(b[2] + mg) + 'V' + q(b[3] + mg) + 'H' + q(b[0] - mg) + 'Z';
    }
    const current = state.sel >= 0 && parts[state.sel].side === side ? state.sel : -1;
    if (current >= 0 && layer && layer.els[current]) layer.els[current].classList.add('current');
    selLayer.innerHTML = (current >= 0 ? partOverlay(current, 'sel') : '') + (frames ? '<path class="sel-box" d="' + frames + '"/>' : '');
  }
  function showDetails() {
    const body = $('details-body');
    const g = state.group;
    let html = '';
    if (g) {
      const refs = g.parts.map((i) => parts[i].ref);
      html += '<div class="group"><div class="group-head">' + esc(g.label) + '</div><div class="group-refs">' +
        esc(reviewPure.partsText(refs, 40)) + '</div></div>';
      const done = g.parts.filter((i) => ticks[i]).length;
      html += '<label class="tick-line"><input type="checkbox" class="tick-sel" data-group' + (done === g.parts.length ? ' checked' : '') +
        '> Checked: ' + formatCount(done) + ' of ' + formatCount(g.parts.length) + '</label>';
    }
    if (state.sel >= 0) html += partDetails(parts[state.sel]);
    body.innerHTML = html || '<span class="none">None. Click a part, a table row or a finding.</span>';
  }
  function partDetails(p) {
    const row = (k, v) => '<dt>' + k + '</dt><dd>' + esc(v) + '</dd>';
    return '<div class="ref-big">' + esc(p.ref) + '<small>' + esc(p.footprint) + (p.value ? ' · ' + esc(p.value) : '') + '</small></div>' +
      (p.excluded ? '<span class="tag-excl">Excluded: not in the report</span>' : '') +
      '<label class="tick-line"><input type="checkbox" class="tick-sel"' + (ticks[state.sel] ? ' checked' : '') + '> Checked</label>' +
      '<dl>' + row('Side', p.side === 'top' ? 'Top' : 'Bottom') +
      row('X, Y (' + unitLabel + ')', p.x_text + ', ' + p.y_text) + row('Rotation', p.rotation + '°') +
      row('Class', p.class) + row('Pins', String(p.pins)) + row('Glue spots', String(p.glue.length)) +
      (p.info ? row('Info', p.info) : '') + '</dl>' +
      (p.findings.length ? '<ul class="part-findings">' + p.findings.map((k) => findingDetail(data.findings[k])).join('') + '</ul>' : '');
  }
  // A finding in the part panel: severity, title, cause and the line that mends it.
  function findingDetail(f) {
    return '<li class="sev-' + f.severity + '"><span class="sev">' + (f.severity === 'error' ? 'Error' : 'Note') + '</span> ' +
      esc(f.title) + (f.subject ? ' (' + esc(f.subject) + ')' : '') + (f.cause ? '<div class="cause">' + esc(f.cause) + '</div>' : '') +
      (f.fix ? '<div class="fix">fix: <code>' + esc(f.fix) + '</code></div>' : '') + '</li>';
  }

  // ------------------------------------------------------------------ table
  // Two views of the table: every part (excluded ones marked), or the placed parts grouped by
  // value and footprint. Each view keeps its items, columns, search keys, order and rows; the rows
  // are indices into its items. The groups are made when first shown.
  const tscroll = $('tscroll'), tbody = $('tbody');
  const tables = {
    parts: {
      items: parts, cols: reviewPure.tableColumns(unitLabel, data.findings),
      all: parts.map((p, i) => i), keys: parts.map(reviewPure.searchKey),
      sortKey: null, sortDir: 1, sorted: null, rows: [],
    },
    groups: null,
  };
  tables.parts.sorted = tables.parts.all;
  function groupsTable() {
    if (!tables.groups) {
      const items = reviewPure.groupParts(parts, placed);
      for (const g of items) g.refs = reviewPure.naturalOrder(g.parts.map((i) => parts[i].ref)).join(', ');
      const all = items.map((g, k) => k);
      tables.groups = { items, cols: reviewPure.groupColumns(), all, keys: items.map(reviewPure.groupSearchKey),
        sortKey: null, sortDir: 1, sorted: all, rows: [] };
    }
    return tables.groups;
  }
  const table = () => (state.mode === 'groups' ? groupsTable() : tables.parts);

  function buildHead() {
    const t = table();
    $('thead').innerHTML = '<span class="c-tick" role="columnheader" title="Checked at assembly">✓</span>' + t.cols.map((c) => {
      const on = t.sortKey === c.key;
      const dir = on ? (t.sortDir > 0 ? '▲' : '▼') : '';
      const aria = on ? (t.sortDir > 0 ? 'ascending' : 'descending') : 'none';
      return '<button type="button" role="columnheader" aria-sort="' + aria + '" data-key="' + c.key + '"' +
             (c.num ? ' class="num"' : '') + ' title="Sort by ' + esc(c.title) + '">' + esc(c.title) +
             '<span class="dir">' + dir + '</span></button>';
    }).join('');
    for (const el of [$('thead'), tbody]) el.className = state.mode === 'groups' ? 'gcols' : 'cols';
    $('thead').classList.add('thead');
  }

  function sortBy(key) {
    const t = table();
    Object.assign(t, reviewPure.nextSort(t.sortKey, t.sortDir, key));
    t.sorted = reviewPure.sortRows(t.items, t.all, t.cols.find((c) => c.key === t.sortKey), t.sortDir);
    buildHead();
    applyFilter(false);
  }

  function applyFilter(resetScroll) {
    const t = table(), needle = reviewPure.searchNeedle(state.query);
    t.rows = reviewPure.matchRows(t.sorted, t.keys, needle);
    tbody.style.height = t.rows.length * ROW_H + 'px';
    tbody.setAttribute('data-rows', String(t.rows.length));
    if (state.mode === 'groups') {
      const shown = t.rows.reduce((n, k) => n + t.items[k].parts.length, 0);
      $('row-count').textContent = reviewPure.formatCount(t.rows.length) + (t.rows.length === 1 ? ' group, ' : ' groups, ') +
        reviewPure.formatCount(shown) + ' placed parts';
    } else {
      const excludedShown = t.rows.reduce((n, i) => n + (parts[i].excluded ? 1 : 0), 0);
      $('row-count').textContent = reviewPure.rowCountText(t.rows.length - excludedShown, placed.length, excludedShown,
        counts.excluded, needle !== '');
    }
    if (resetScroll) tscroll.scrollTop = 0;
    renderRows();
  }

  // Only the rows in sight (plus a margin) exist in the document: 20,000 rows would make every
  // scroll and every selection slow. The row that takes the keyboard is the current one (or the
  // first), and keeps the focus when the rows are made anew.
  function renderRows() {
    const t = table(), rows = t.rows, headH = $('thead').offsetHeight;
    const top = tscroll.scrollTop, h = Math.max(0, tscroll.clientHeight - headH);
    const first = Math.max(0, Math.floor(top / ROW_H) - ROW_OVERSCAN);
    const last = Math.min(rows.length, Math.ceil((top + h) / ROW_H) + ROW_OVERSCAN);
    const focused = document.activeElement && document.activeElement.closest && document.activeElement.closest('#tbody .row');
    const keep = focused ? focused.getAttribute('data-k') : null;
    const current = currentRow();
    let html = '';
    for (let k = first; k < last; k++) html += state.mode === 'groups' ? groupRowHtml(rows[k], k, current) : rowHtml(rows[k], k, current);
    if (!rows.length) html = '<div class="empty">Nothing matches “' + esc(state.query) + '”.</div>';
    tbody.innerHTML = html;
    for (const box of tbody.querySelectorAll('input[data-mixed]')) box.indeterminate = true;
    if (keep !== null) {
      const again = tbody.querySelector('.row[data-k="' + keep + '"]');
      if (again) again.focus({ preventScroll: true });
    }
  }
  // The row (its place in the rows) that takes the keyboard: the current part's or group's, else the first.
  function currentRow() { return Math.max(0, currentIndex()); }
  // The place in the rows of the current part's or group's row, -1 for none.
  function currentIndex() {
    const rows = table().rows;
    return state.mode === 'groups' ? rows.findIndex((g) => groupIsCurrent(g)) : rows.indexOf(state.sel);
  }
  function tickCell(checked, mixed, label) {
    return '<div class="c-tick"><input type="checkbox" class="tick" tabindex="-1"' + (checked ? ' checked' : '') +
      (mixed ? ' data-mixed' : '') + ' aria-label="Checked: ' + esc(label) + '"></div>';
  }
  function rowHtml(i, k, current) {
    const p = parts[i];
    const chosen = isSelected(i);
    const cls = 'row' + (chosen ? ' selected' : '') + (i === state.sel ? ' current' : '') + (p.excluded ? ' excluded' : '') +
      (ticks[i] ? ' ticked' : '') + (partFrames[i] === FRAME_ERROR ? ' has-error' : partFrames[i] === FRAME_NOTE ? ' has-note' : '');
    let s = '<div class="' + cls + '" role="row" aria-selected="' + chosen + '" tabindex="' + (k === current ? 0 : -1) +
            '" data-i="' + i + '" data-k="' + k + '" style="top:' + k * ROW_H + 'px">' + tickCell(ticks[i], false, p.ref);
    for (const c of tables.parts.cols) {
      const v = c.get(p);
      const extra = c.key === 'ref' ? ' ref' : c.key === 'findings' ? ' fc' : c.num ? ' num' : c.key === 'side' && p.side === 'bottom' ? ' bot' : '';
      const title = c.key === 'findings' && p.findings.length ? p.findings.map((f) => findingLine(data.findings[f])).join('\n')
        : c.key === 'info' ? v : c.key === 'ref' && p.excluded ? 'Excluded: not in the report' : '';
      s += '<div role="gridcell" class="c-' + c.key + extra + '"' + (title ? ' title="' + esc(title) + '"' : '') + '>' + esc(v) + '</div>';
    }
    return s + '</div>';
  }
  function groupIsCurrent(g) { return state.group !== null && state.group.key === 'group:' + g; }
  function groupRowHtml(g, k, current) {
    const group = tables.groups.items[g];
    const done = group.parts.filter((i) => ticks[i]).length;
    const chosen = groupIsCurrent(g) || group.parts.includes(state.sel);
    let s = '<div class="row' + (chosen ? ' selected' : '') + (done === group.parts.length ? ' ticked' : '') +
      '" role="row" aria-selected="' + chosen + '" tabindex="' + (k === current ? 0 : -1) + '" data-g="' + g + '" data-k="' + k +
      '" style="top:' + k * ROW_H + 'px">' + tickCell(done === group.parts.length, done > 0 && done < group.parts.length, group.value + ' ' + group.footprint);
    for (const c of tables.groups.cols) {
      const v = c.get(group);
      s += '<div role="gridcell" class="c-' + c.key + (c.num ? ' num' : '') + '"' + (c.key === 'refs' ? ' title="' + esc(v) + '"' : '') +
        '>' + esc(v) + '</div>';
    }
    return s + '</div>';
  }

  // Bring a part's row (or its group's) into sight; a row hidden by the search cannot be shown, so
  // the search is cleared.
  function revealRow(i, scroll) {
    const t = table();
    const find = () => (state.mode === 'groups' ? t.rows.findIndex((g) => t.items[g].parts.includes(i)) : t.rows.indexOf(i));
    let k = find();
    if (k < 0 && state.query) {
      setQuery('');
      k = find();
    }
    if (k >= 0 && scroll) scrollToRow(k);
  }
  function scrollToRow(k) {
    const h = tscroll.clientHeight - $('thead').offsetHeight;
    const y = k * ROW_H;
    if (y < tscroll.scrollTop || y + ROW_H > tscroll.scrollTop + h) tscroll.scrollTop = Math.max(0, y - (h - ROW_H) / 2);
  }
  function setQuery(query) {
    state.query = query;
    if ($('search').value !== query) $('search').value = query;
    applyFilter(true);
  }

  // The next or previous row made current: its part selected, or its group. `focus`: the row takes
  // the keyboard focus.
  function stepRow(delta, focus) {
    const rows = table().rows;
    if (!rows.length) return;
    const at = currentIndex();
    const k = at < 0 ? (delta > 0 ? 0 : rows.length - 1) : clamp(at + delta, 0, rows.length - 1);
    activateRow(k);
    if (focus) {
      const row = tbody.querySelector('.row[data-k="' + k + '"]');
      if (row) row.focus({ preventScroll: true });
    }
  }
  function activateRow(k) {
    const t = table();
    if (state.mode === 'groups') selectTableGroup(t.rows[k]);
    else selectPart(t.rows[k], { centre: true, scrollRow: true });
    scrollToRow(k);
  }
  function selectTableGroup(g) {
    const group = tables.groups.items[g];
    selectGroup('group:' + g, group.value + ' · ' + group.footprint, group.parts);
  }
  function showTable(mode) {
    if (mode === state.mode) return;
    state.mode = mode;
    for (const b of document.querySelectorAll('#table-mode button')) b.setAttribute('aria-pressed', String(b.getAttribute('data-mode') === mode));
    buildHead();
    applyFilter(true);
  }

  // ------------------------------------------------------------------ ticks
  // "Checked" ticks of the parts, kept in the browser's local storage under the project's name
  // and a fingerprint of the board's data: another version of the board starts clean.
  const ticks = new Uint8Array(parts.length);
  let tickKey = null;
  function tickStoreKey() {
    if (tickKey === null) {
      tickKey = 'tarnwick-review:' + data.project + ':' + reviewPure.hashText(dataText);
      dataText = null;   // 20 MB let go
    }
    return tickKey;
  }
  function loadTicks() {
    try {
      const saved = JSON.parse(localStorage.getItem(tickStoreKey()) || '[]');
      for (const i of saved) if (Number.isInteger(i) && i >= 0 && i < parts.length) ticks[i] = 1;
    } catch (err) {
      // No storage (a browser that refuses it for files) or a damaged entry: no ticks.
    }
    renderRows();
    showDetails();
  }
  function saveTicks() {
    const list = [];
    ticks.forEach((t, i) => { if (t) list.push(i); });
    try {
      if (list.length) localStorage.setItem(tickStoreKey(), JSON.stringify(list));
      else localStorage.removeItem(tickStoreKey());
    } catch (err) {
      // Storage full or refused: the ticks last as long as the page.
    }
  }
  function setTicks(list, on) {
    for (const i of list) ticks[i] = on ? 1 : 0;
    saveTicks();
    renderRows();
    showDetails();
  }

  // ------------------------------------------------------------------ findings
  // One line for a finding: its title, what it is about and the cause.
  function findingLine(f) { return f.title + ': ' + f.subject + (f.cause ? ', ' + f.cause : ''); }
  const findingsByKind = new Map();   // kind -> indices of its findings
  data.findings.forEach((f, k) => {
    if (!findingsByKind.has(f.kind)) findingsByKind.set(f.kind, []);
    findingsByKind.get(f.kind).push(k);
  });
  const severityCount = (severity) => data.findings.filter((f) => f.severity === severity).length;
  const errorCount = severityCount('error'), noteCount = severityCount('note');
  // The kinds, errors first as the data list them; each with a switch for its frames on the board,
  // a button that opens its entries and one that selects all its parts. Small lists open at once;
  // long ones wait for a click so that a big board still opens fast.
  function buildFindings() {
    const total = data.findings.length;
    $('fd-total').textContent = formatCount(errorCount) + ' errors, ' + formatCount(noteCount) + ' notes';
    const openAll = total <= 40;
    $('kinds').innerHTML = data.kinds.map((kd) => {
      const items = findingsByKind.get(kd.kind) || [];
      const count = items.length, open = openAll && count > 0;
      return '<li class="kind sev-' + kd.severity + (count ? '' : ' zero') + '" data-kind="' + esc(kd.kind) + '">' +
             '<div class="kind-head">' +
             '<input type="checkbox" class="kind-show" checked' + (count ? '' : ' disabled') + ' title="Frame its parts on the board" aria-label="Frame on the board: ' + esc(kd.title) + '">' +
             '<button type="button" class="kind-open" aria-expanded="' + open + '"' + (count ? '' : ' disabled') + ' aria-label="Entries of ' + esc(kd.title) + '">' + (count ? (open ? '▾' : '▸') : '') + '</button>' +
             '<button type="button" class="kind-select"' + (count ? '' : ' disabled') + ' title="Select all its parts">' +
             '<span class="sev">' + (kd.severity === 'error' ? 'Error' : 'Note') + '</span><span class="t">' + esc(kd.title) + '</span>' +
             '<span class="count">' + count + '</span></button></div>' +
             '<ol' + (open ? '' : ' hidden') + '>' + (open ? findingItems(items) : '') + '</ol></li>';
    }).join('');
  }
  // An entry: what it is about, its parts (the first few), the cause and the line that mends it.
  function findingItems(list) {
    return list.map((k) => {
      const f = data.findings[k];
      const refs = f.parts.map((i) => parts[i].ref);
      return '<li><button type="button" class="finding' + (f.parts.length ? '' : ' loose') + '" data-f="' + k + '"' +
             (f.parts.length ? ' title="Select its parts; again: the next of them"' : ' title="Not about a part"') + '>' +
             '<b>' + esc(f.subject) + '</b>' + (refs.length ? ' <span class="refs">' + esc(reviewPure.partsText(refs, 6)) + '</span>' : '') +
             '<span class="cause">' + esc(f.cause) + '</span>' + (f.fix ? '<code class="fix">' + esc(f.fix) + '</code>' : '') +
             '</button></li>';
    }).join('');
  }
  function toggleKind(li) {
    const head = li.querySelector('.kind-open'), ol = li.querySelector('ol');
    const open = head.getAttribute('aria-expanded') !== 'true';
    if (open && !ol.childElementCount) ol.innerHTML = findingItems(findingsByKind.get(li.getAttribute('data-kind')) || []);
    head.setAttribute('aria-expanded', String(open));
    head.textContent = open ? '▾' : '▸';
    ol.hidden = !open;
    markFinding();
  }
  // A finding selects all its parts; a click on the finding already selected moves on to the next of them.
  function openFinding(k) {
    const f = data.findings[k], key = 'finding:' + k;
    if (!f.parts.length) return;
    if (state.group && state.group.key === key) stepGroup();
    else selectGroup(key, f.title + ': ' + f.subject, f.parts);
  }
  // A kind selects the parts of all its findings.
  function selectKind(kind) {
    const seen = new Set(), list = [];
    for (const k of findingsByKind.get(kind) || []) for (const i of data.findings[k].parts) if (!seen.has(i)) { seen.add(i); list.push(i); }
    const kd = data.kinds.find((x) => x.kind === kind);
    selectGroup('kind:' + kind, kd.title, list);
  }
  function markFinding() {
    const key = state.group ? state.group.key : '';
    for (const b of $('kinds').querySelectorAll('.finding')) {
      const k = Number(b.getAttribute('data-f'));
      b.classList.toggle('current', key === 'finding:' + k || (state.sel >= 0 && data.findings[k].parts.includes(state.sel)));
    }
    for (const li of $('kinds').children) li.classList.toggle('current', key === 'kind:' + li.getAttribute('data-kind'));
  }
  // A kind's frames on the board switched on or off.
  function showKind(kind, on) {
    kindShown.set(kind, on);
    computeFrames();
    for (const c of grid) for (const key of [...c.paths.keys()]) if (key.startsWith('frame')) c.paths.delete(key);
    dropOverviews();
    renderRows();
    requestFrame(2);
  }

  // ------------------------------------------------------------------ print
  // Printing gives the board of the side shown, fitted, on the first page and the whole table
  // after it (every part in the table's order, whatever the search shows): a sheet made when the
  // browser is about to print and dropped after.
  const PRINT_W = 2000, PRINT_H = 1300;   // the printed board's drawing in px, landscape
  function buildPrintSheet() {
    dropPrintSheet();
    const v = { side: view.side, s: 1, tx: 0, ty: 0, w: PRINT_W, h: PRINT_H, dpr: 1 };
    Object.assign(v, reviewPure.fitView(v, fitBox));
    const canvas = document.createElement('canvas');
    canvas.width = PRINT_W;
    canvas.height = PRINT_H;
    drawBoard(canvas.getContext('2d'), v);
    const cols = tables.parts.cols;
    let rows = '';
    for (const i of tables.parts.sorted) {
      const p = parts[i];
      rows += '<tr' + (p.excluded ? ' class="excluded"' : '') + '><td>' + (ticks[i] ? '☑' : '☐') + '</td>' +
        cols.map((c) => '<td' + (c.num ? ' class="num"' : '') + '>' + esc(c.get(p)) + (c.key === 'ref' && p.excluded ? ' (excluded)' : '') + '</td>').join('') + '</tr>';
    }
    const sheet = document.createElement('div');
    sheet.id = 'print-sheet';
    sheet.innerHTML = '<section class="print-board"><h1>' + esc(data.project) + '</h1><p>' +
      sideTitle(view.side) + '; ' +
      esc($('units-note').textContent) + '</p></section>' +
      '<table><thead><tr><th>✓</th>' + cols.map((c) => '<th' + (c.num ? ' class="num"' : '') + '>' + esc(c.title) + '</th>').join('') +
      '</tr></thead><tbody>' + rows + '</tbody></table>';
    sheet.querySelector('.print-board').append(canvas);
    document.body.append(sheet);
  }
  function dropPrintSheet() {
    const sheet = $('print-sheet');
    if (sheet) sheet.remove();
  }

  // ------------------------------------------------------------------ header
  function buildHeader() {
    document.title = 'Placement review: ' + data.project;
    $('project').textContent = data.project;
    $('st-units').textContent = unitLabel;
    // The units of X and Y, and the code page the texts were read in when they were not UTF-8.
    $('units-note').textContent = 'X and Y in ' + (UNIT_NAMES[unitLabel] || unitLabel) + ', as the report prints them' +
      (data.encoding !== 'utf-8' ? '; texts read as ' + data.encoding : '');
    $('st-top').textContent = formatCount(counts.top);
    $('st-bottom').textContent = formatCount(counts.bottom);
    $('st-excluded').textContent = formatCount(counts.excluded);
    $('st-errors').textContent = formatCount(errorCount);
    $('st-errors-box').classList.toggle('none', errorCount === 0);
    $('st-notes').textContent = formatCount(noteCount);
  }

  // ------------------------------------------------------------------ pointer: pan, zoom, pick
  // Positions are taken against the view's frame, not the SVG, which moves during a gesture.
  function pointerInput() {
    let drag = null;   // {x, y, tx, ty, moved, pick}
    svg.addEventListener('pointerdown', (e) => {
      if (e.button !== 0) return;
      drag = { x: e.clientX, y: e.clientY, tx: view.tx, ty: view.ty, moved: false, pick: pick(e, wrap.getBoundingClientRect()) };
      svg.setPointerCapture(e.pointerId);
    });
    svg.addEventListener('pointermove', (e) => {
      const r = wrap.getBoundingClientRect();
      const [bx, by] = toBoard(view, e.clientX - r.left, e.clientY - r.top);
      $('readout').textContent = 'X ' + formatLength(bx, data.units) + '  Y ' + formatLength(by, data.units) + ' ' + unitLabel;
      if (!drag) { hover(e, r); return; }
      const dx = e.clientX - drag.x, dy = e.clientY - drag.y;
      // A few pixels of wobble still count as a click.
      if (!drag.moved && Math.hypot(dx, dy) < 4) return;
      if (!drag.moved) { drag.moved = true; svg.classList.add('dragging'); $('tip').hidden = true; setHover(-1); }
      view.tx = drag.tx + dx;
      view.ty = drag.ty + dy;
      previewView();
    });
    const end = (e) => {
      if (!drag) return;
      const d = drag;
      drag = null;
      svg.classList.remove('dragging');
      if (svg.hasPointerCapture(e.pointerId)) svg.releasePointerCapture(e.pointerId);
      if (d.moved || e.type === 'pointercancel') return;
      if (d.pick >= 0) selectPart(d.pick, { centre: false, scrollRow: true });
      else clearSelection();
    };
    svg.addEventListener('pointerup', end);
    svg.addEventListener('pointercancel', end);
    svg.addEventListener('pointerleave', () => { $('tip').hidden = true; setHover(-1); });
    svg.addEventListener('wheel', (e) => {
      e.preventDefault();
      const r = wrap.getBoundingClientRect();
      // Lines and pages arrive in other units than pixels (Firefox sends lines).
      const dy = e.deltaY * (e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? view.h : 1);
      zoomAt(e.clientX - r.left, e.clientY - r.top, Math.exp(-clamp(dy, -300, 300) * 0.0015));
    }, { passive: false });
  }

  // The part under the pointer: the one whose mark (its target) is hit, else the one whose box holds it.
  function pick(e, r) {
    const mark = e.target.closest && e.target.closest('[data-i]');
    if (mark) return Number(mark.getAttribute('data-i'));
    const [bx, by] = toBoard(view, e.clientX - r.left, e.clientY - r.top);
    return partAt(bx, by, view.side, PICK_SLACK_PX / view.s);
  }

  function hover(e, r) {
    const tip = $('tip'), i = pick(e, r), changed = i !== state.hovered;
    setHover(i);
    if (i < 0) { tip.hidden = true; return; }
    if (changed || tip.hidden) {
      const p = parts[i];
      tip.innerHTML = '<b>' + esc(p.ref) + '</b> ' + esc(p.footprint) + (p.value ? ' · ' + esc(p.value) : '') +
        '<br>' + esc(p.class) + ', ' + esc(p.x_text) + ', ' + esc(p.y_text) + ' ' + unitLabel + ', ' + esc(p.rotation) + '°' +
        (p.excluded ? '<br>Excluded' : '') +
        p.findings.map((k) => '<div class="f sev-' + data.findings[k].severity + '">' + esc(findingLine(data.findings[k])) + '</div>').join('');
    }
    tip.hidden = false;
    const x = e.clientX - r.left + 14, y = e.clientY - r.top + 14;
    tip.style.left = Math.min(x, r.width - tip.offsetWidth - 4) + 'px';
    tip.style.top = (y + tip.offsetHeight > r.height ? y - tip.offsetHeight - 20 : y) + 'px';
  }

  // ------------------------------------------------------------------ wiring
  function wire() {
    pointerInput();
    $('side-top').addEventListener('click', () => showSide('top'));
    $('side-bottom').addEventListener('click', () => showSide('bottom'));
    $('fit').addEventListener('click', fit);
    $('legend-toggle').addEventListener('click', (e) => {
      const open = $('legend').hidden;
      $('legend').hidden = !open;
      e.currentTarget.setAttribute('aria-expanded', String(open));
    });
    $('layers').addEventListener('change', (e) => {
      if (!e.target.getAttribute('data-layer')) return;
      readLayerSwitches();
      dropOverviews();
      requestFrame(2);
    });
    $('thead').addEventListener('click', (e) => {
      const b = e.target.closest('button[data-key]');
      if (b) sortBy(b.getAttribute('data-key'));
    });
    // Typing, the box's own clear button and Esc in it (the browser's "search" event) alike.
    for (const type of ['input', 'search']) $('search').addEventListener(type, (e) => setQuery(e.target.value));
    $('table-mode').addEventListener('click', (e) => {
      const b = e.target.closest('button[data-mode]');
      if (b) showTable(b.getAttribute('data-mode'));
    });
    let scrollPending = false;
    tscroll.addEventListener('scroll', () => {
      if (scrollPending) return;
      scrollPending = true;
      requestAnimationFrame(() => { scrollPending = false; renderRows(); });
    });
    tbody.addEventListener('click', (e) => {
      const row = e.target.closest('.row');
      if (!row) return;
      const tick = e.target.closest('.tick');
      if (tick) {
        const list = row.hasAttribute('data-g') ? tables.groups.items[Number(row.getAttribute('data-g'))].parts : [Number(row.getAttribute('data-i'))];
        setTicks(list, tick.checked);
        return;
      }
      if (row.hasAttribute('data-g')) selectTableGroup(Number(row.getAttribute('data-g')));
      else selectPart(Number(row.getAttribute('data-i')), { centre: true, scrollRow: false });
      row.focus({ preventScroll: true });
    });
    // A focused row: the arrow keys move to the next or previous row, Space ticks it.
    tbody.addEventListener('keydown', (e) => {
      const row = e.target.closest && e.target.closest('.row');
      if (!row || e.ctrlKey || e.metaKey || e.altKey) return;
      if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
        e.preventDefault();
        e.stopPropagation();
        const k = Number(row.getAttribute('data-k')), t = table();
        if (state.mode === 'groups' ? !groupIsCurrent(t.rows[k]) : t.rows[k] !== state.sel) activateRow(k);
        stepRow(e.key === 'ArrowDown' ? 1 : -1, true);
      } else if (e.key === ' ' || e.key === 'Enter') {
        e.preventDefault();
        e.stopPropagation();
        if (e.key === ' ') row.querySelector('.tick').click();
        else row.click();
      }
    });
    $('details-body').addEventListener('change', (e) => {
      if (!e.target.classList.contains('tick-sel')) return;
      const list = e.target.hasAttribute('data-group') && state.group ? state.group.parts : [state.sel];
      setTicks(list, e.target.checked);
    });
    // The board with the keyboard focus: the arrow keys pan, + and - zoom (also with the focus elsewhere).
    svg.addEventListener('keydown', (e) => {
      if (e.ctrlKey || e.metaKey || e.altKey) return;
      const step = { ArrowLeft: [1, 0], ArrowRight: [-1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1] }[e.key];
      if (!step) return;
      e.preventDefault();
      e.stopPropagation();
      view.tx += step[0] * view.w * PAN_STEP;
      view.ty += step[1] * view.h * PAN_STEP;
      previewView();
    });
    $('kinds').addEventListener('click', (e) => {
      const f = e.target.closest('.finding');
      if (f) { openFinding(Number(f.getAttribute('data-f'))); return; }
      const li = e.target.closest('.kind');
      if (!li) return;
      if (e.target.closest('.kind-open')) toggleKind(li);
      else if (e.target.closest('.kind-select')) {
        if (li.querySelector('.kind-open').getAttribute('aria-expanded') !== 'true') toggleKind(li);
        selectKind(li.getAttribute('data-kind'));
      }
    });
    $('kinds').addEventListener('change', (e) => {
      if (e.target.classList.contains('kind-show')) showKind(e.target.closest('.kind').getAttribute('data-kind'), e.target.checked);
    });
    document.addEventListener('keydown', onKey);
    window.addEventListener('beforeprint', buildPrintSheet);
    window.addEventListener('afterprint', dropPrintSheet);
    // Keep the middle of the view where it is when the window changes size.
    new ResizeObserver(() => {
      const w = view.w, h = view.h;
      measure();
      if (w === view.w && h === view.h) return;
      view.tx += (view.w - w) / 2;
      view.ty += (view.h - h) / 2;
      commitView();
      renderRows();
    }).observe(wrap);
  }

  // The switches may come back checked or not when the page is reloaded, so they are read, not assumed.
  function readLayerSwitches() {
    for (const box of $('layers').querySelectorAll('input[data-layer]')) {
      const layer = box.getAttribute('data-layer');
      show[layer] = box.checked;
      svg.classList.toggle('hide-' + layer, !box.checked);
    }
    drawOrigin();
  }

  function onKey(e) {
    const typing = e.target instanceof HTMLInputElement && e.target.type !== 'checkbox';
    if (e.key === 'Escape') {
      // Esc in the search box clears the search and its filter too, whatever the browser does with it.
      if (e.target === $('search') && state.query) setQuery('');
      if (typing) e.target.blur();
      clearSelection();
      return;
    }
    if (typing || e.ctrlKey || e.metaKey || e.altKey) return;
    if (e.key === '/') { e.preventDefault(); $('search').focus(); $('search').select(); }
    else if (e.key === 'f' || e.key === 'F') fit();
    else if (e.key === 't' || e.key === 'T') showSide('top');
    else if (e.key === 'b' || e.key === 'B') showSide('bottom');
    else if (e.key === '+' || e.key === '=') { e.preventDefault(); zoomAt(view.w / 2, view.h / 2, KEY_ZOOM); }
    else if (e.key === '-' || e.key === '_') { e.preventDefault(); zoomAt(view.w / 2, view.h / 2, 1 / KEY_ZOOM); }
    else if (e.key === 'ArrowDown') { e.preventDefault(); stepRow(1, false); }
    else if (e.key === 'ArrowUp') { e.preventDefault(); stepRow(-1, false); }
  }

  // ------------------------------------------------------------------ start
  buildHeader();
  $('edge').setAttribute('d', edgeData);   // not painted: its box is the board's, for Fit and the tests
  buildFindings();
  readLayerSwitches();
  buildHead();
  applyFilter(false);
  fitState();
  showSide(view.side, true);
  wire();

  // Load timings, read by the browser tests and handy in the console: the script done, the first
  // frame after it (the board drawn), and ready (the part marks of the side shown made, the ticks read).
  const timings = { built: performance.now(), firstPaint: null, ready: null };
  requestAnimationFrame(() => setTimeout(() => {
    timings.firstPaint = performance.now();
    warmUp();
    loadTicks();
    timings.ready = performance.now();
  }, 0));
  window.reviewPage = {
    timings,
    view: () => ({ side: view.side, scale: view.s, tx: view.tx, ty: view.ty, selected: state.sel }),
  };
})();
