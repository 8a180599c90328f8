// The picture: a full keyboard and a mouse, each key carrying the trigger
// code the program's hooks report for it (left and right Ctrl, Shift and Alt
// apart), and the code of a key pressed on the page's own keyboard.

const SVG = 'http://www.w3.org/2000/svg';
const UNIT = 40;

// [code, width in keys] per row; a code of 0 is a gap.
const F_ROW = [[27, 1], [0, 1], [112, 1], [113, 1], [114, 1], [115, 1], [0, 0.5], [116, 1], [117, 1], [118, 1],
  [119, 1], [0, 0.5], [120, 1], [121, 1], [122, 1], [123, 1]];
const MAIN = [
  [[192, 1], [49, 1], [50, 1], [51, 1], [52, 1], [53, 1], [54, 1], [55, 1], [56, 1], [57, 1], [48, 1], [189, 1],
    [187, 1], [8, 2]],
  [[9, 1.5], [81, 1], [87, 1], [69, 1], [82, 1], [84, 1], [89, 1], [85, 1], [73, 1], [79, 1], [80, 1], [219, 1],
    [221, 1], [220, 1.5]],
  [[20, 1.75], [65, 1], [83, 1], [68, 1], [70, 1], [71, 1], [72, 1], [74, 1], [75, 1], [76, 1], [186, 1], [222, 1],
    [13, 2.25]],
  [[160, 1.25], [226, 1], [90, 1], [88, 1], [67, 1], [86, 1], [66, 1], [78, 1], [77, 1], [188, 1], [190, 1],
    [191, 1], [161, 2.75]],
  [[162, 1.25], [91, 1.25], [164, 1.25], [32, 6.25], [165, 1.25], [92, 1.25], [93, 1.25], [163, 1.25]],
];
// Keys placed one by one: [code, column, row, width, height], in key units.
const NAVIGATION = [[44, 0, 0], [145, 1, 0], [19, 2, 0], [45, 0, 1], [36, 1, 1], [33, 2, 1], [46, 0, 2], [35, 1, 2],
  [34, 2, 2], [38, 1, 4], [37, 0, 5], [40, 1, 5], [39, 2, 5]].map(([code, column, row]) => [code, column, row, 1, 1]);
const NUMPAD = [[144, 0, 1], [111, 1, 1], [106, 2, 1], [109, 3, 1], [103, 0, 2], [104, 1, 2], [105, 2, 2],
  [107, 3, 2, 1, 2], [100, 0, 3], [101, 1, 3], [102, 2, 3], [97, 0, 4], [98, 1, 4], [99, 2, 4], [13, 3, 4, 1, 2],
  [96, 0, 5, 2, 1], [110, 2, 5]].map(([code, column, row, width = 1, height = 1]) => [code, column, row, width, height]);
const MOUSE = { left: 253, right: 252, middle: 4, x1: 5, x2: 6, away: 254, towards: 255 };

// Where each code is drawn on the keyboard.
function keyboardPlaces() {
  const places = [];
  let x = 0;
  for (const [code, width] of F_ROW) {
    if (code !== 0) places.push([code, x, 0, width, 1]);
    x += width;
  }
  MAIN.forEach((row, index) => {
    x = 0;
    for (const [code, width] of row) {
      places.push([code, x, index + 1.25, width, 1]);
      x += width;
    }
  });
  for (const [code, column, row, width, height] of NAVIGATION) {
    places.push([code, 15.25 + column, row + (row === 0 ? 0 : 0.25), width, height]);
  }
  for (const [code, column, row, width, height] of NUMPAD) places.push([code, 18.5 + column, row + 0.25, width, height]);
  return places;
}

const KEY_PLACES = keyboardPlaces();

// Every code the picture shows; the rest are listed beside it.
export const PICTURE_CODES = new Set([...KEY_PLACES.map(([code]) => code), ...Object.values(MOUSE)]);

// An SVG element with `attributes`, appended to `parent` when given.
export function svgElement(name, attributes, parent) {
  const made = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) made.setAttribute(key, value);
  if (parent) parent.appendChild(made);
  return made;
}

// One key: a group with its shape, a title and three lines of text, filled
// in later by the page (paintKey).
function keyGroup(svg, code, shape, attributes, textX, textY) {
  const group = svgElement('g', { class: 'key', 'data-code': code, tabindex: '-1' }, svg);
  svgElement(shape, attributes, group);
  svgElement('title', {}, group);
  svgElement('text', { x: textX, y: textY, class: 'name' }, group);
  svgElement('text', { x: textX, y: textY + 11, class: 'detail' }, group);
  svgElement('text', { x: textX, y: textY + 21, class: 'condition' }, group);
  return group;
}

function drawMouse(svg, left) {
  const top = 20;
  const body = (x, y, w, h) => ({ x: left + x, y: top + y, width: w, height: h, rx: 6 });
  keyGroup(svg, MOUSE.left, 'rect', body(0, 0, 76, 96), left + 4, top + 14);
  keyGroup(svg, MOUSE.right, 'rect', body(124, 0, 76, 96), left + 128, top + 14);
  keyGroup(svg, MOUSE.away, 'rect', body(78, 0, 44, 30), left + 81, top + 13);
  keyGroup(svg, MOUSE.middle, 'rect', body(78, 33, 44, 30), left + 81, top + 46);
  keyGroup(svg, MOUSE.towards, 'rect', body(78, 66, 44, 30), left + 81, top + 79);
  keyGroup(svg, MOUSE.x2, 'rect', body(-48, 110, 46, 40), left - 45, top + 124);
  keyGroup(svg, MOUSE.x1, 'rect', body(-48, 154, 46, 40), left - 45, top + 168);
  svgElement('rect', { x: left, y: top + 100, width: 200, height: 170, rx: 40, fill: '#eee', stroke: '#777' }, svg);
}

// Draws the picture into `container`; `onSelect(code)` is called for a click.
export function drawPicture(container, onSelect) {
  const width = 22.75 * UNIT + 290;
  const svg = svgElement('svg', { viewBox: `0 0 ${width} ${7.5 * UNIT}`, role: 'group' });
  svgElement('title', {}, svg).textContent = 'Keyboard and mouse: click a key to select it';
  for (const [code, column, row, w, h] of KEY_PLACES) {
    const x = column * UNIT + 2;
    const y = row * UNIT + 2;
    keyGroup(svg, code, 'rect', { x, y, width: w * UNIT - 4, height: h * UNIT - 4, rx: 4 }, x + 3, y + 11);
  }
  drawMouse(svg, 22.75 * UNIT + 80);
  svg.addEventListener('click', (event) => {
    const group = event.target.closest('.key');
    if (group) onSelect(Number(group.dataset.code));
  });
  container.replaceChildren(svg);
  return svg;
}

// Physical keys as US keyboards have them.
const BY_PHYSICAL_KEY = {
  Escape: 27, Backquote: 192, Minus: 189, Equal: 187, Backspace: 8, Tab: 9, BracketLeft: 219, BracketRight: 221,
  Backslash: 220, CapsLock: 20, Semicolon: 186, Quote: 222, Enter: 13, ShiftLeft: 160, ShiftRight: 161,
  IntlBackslash: 226, Comma: 188, Period: 190, Slash: 191, ControlLeft: 162, ControlRight: 163, MetaLeft: 91,
  MetaRight: 92, AltLeft: 164, AltRight: 165, Space: 32, ContextMenu: 93, PrintScreen: 44, ScrollLock: 145,
  Pause: 19, Insert: 45, Home: 36, PageUp: 33, Delete: 46, End: 35, PageDown: 34, ArrowUp: 38, ArrowLeft: 37,
  ArrowDown: 40, ArrowRight: 39, NumLock: 144, NumpadDivide: 111, NumpadMultiply: 106, NumpadSubtract: 109,
  NumpadAdd: 107, NumpadEnter: 13, NumpadDecimal: 110, AudioVolumeMute: 173, AudioVolumeDown: 174,
  AudioVolumeUp: 175, MediaTrackNext: 176, MediaTrackPrevious: 177, MediaStop: 178, MediaPlayPause: 179,
};
// The keys of the numeric pad without Num Lock report the navigation keys.
const NUMPAD_WITHOUT_NUM_LOCK = { Home: 36, End: 35, PageUp: 33, PageDown: 34, ArrowUp: 38, ArrowDown: 40,
  ArrowLeft: 37, ArrowRight: 39, Insert: 45, Delete: 46, Clear: 12 };

// The code the hooks report for a key pressed on the page: letters and
// digits by the layout in use (an A is 65 wherever the layout puts it), the
// other keys by their place on the keyboard. Null for a key the picture
// does not know.
export function codeOfKeyEvent(event) {
  const { code, key } = event;
  if (code.startsWith('Numpad')) {
    if (/^[0-9]$/.test(key)) return 96 + Number(key);
    if (key in NUMPAD_WITHOUT_NUM_LOCK) return NUMPAD_WITHOUT_NUM_LOCK[key];
  }
  if (/^[a-z]$/i.test(key)) return key.toUpperCase().charCodeAt(0);
  if (/^[0-9]$/.test(key) && code.startsWith('Digit')) return 48 + Number(key);
  if (/^Key[A-Z]$/.test(code)) return code.charCodeAt(3);
  if (/^Digit[0-9]$/.test(code)) return code.charCodeAt(5);
  if (/^F([1-9]|1[0-9]|2[0-4])$/.test(code)) return 111 + Number(code.slice(1));
  return BY_PHYSICAL_KEY[code] ?? null;
}
