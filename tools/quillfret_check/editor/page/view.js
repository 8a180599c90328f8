// Drawing the check of the draft: the keys' colours and labels, the lists
// beside the picture, and the verdict. Every word about what a file does
// comes from the server's report, in the checker's words.

import { PICTURE_CODES } from './keyboard.js';
import { entryIndex } from './draft.js';

export const KINDS = [['notes', 'notes'], ['controllers', 'controllers'], ['program', 'program change'],
  ['bend', 'pitch bend'], ['transpose', 'transpose'], ['pause', 'file key (pause)'], ['nothing', 'sends nothing']];

// For each code, the entries the report has for it, in file order: the last one is in force.
export function entriesByCode(report) {
  const byCode = new Map();
  (report?.entries ?? []).forEach((entry, position) => {
    if (!entry.stored) return;
    const list = byCode.get(entry.code) ?? [];
    list.push({ entry, index: entryIndex(entry.path) ?? position });
    byCode.set(entry.code, list);
  });
  return byCode;
}

// A key's name, squeezed into the key when it is longer than the key is wide.
function labelKey(text, name, width) {
  text.textContent = name;
  if (name.length * 6.5 > width - 6) {
    text.setAttribute('textLength', width - 6);
    text.setAttribute('lengthAdjust', 'spacingAndGlyphs');
  } else {
    text.removeAttribute('textLength');
  }
}

// Paints every key of the picture from the report.
export function paintPicture(svg, { report, namesByCode, fileKeys, selected, errorCode }) {
  const byCode = entriesByCode(report);
  for (const group of svg.querySelectorAll('.key')) {
    const code = Number(group.dataset.code);
    const [shape, title, name, detail, condition] = group.children;
    const inForce = byCode.get(code)?.at(-1)?.entry;
    const fileKey = fileKeys.get(code);
    group.setAttribute('class', 'key');
    group.classList.toggle('selected', code === selected);
    group.classList.toggle('error', code === errorCode);
    labelKey(name, namesByCode[code] ?? String(code), Number(shape.getAttribute('width')));
    detail.textContent = inForce ? inForce.detail : (fileKey ?? '');
    condition.textContent = inForce?.modifier ? '+' + inForce.modifier : '';
    let words = `${namesByCode[code] ?? 'code'} (${code})`;
    if (inForce) {
      group.classList.add(inForce.kind, inForce.mode);
      words += `: ${inForce.mode}, ${inForce.detail || 'sends nothing'}`;
      if (inForce.modifier) words += `, only while ${inForce.modifier} is held`;
    }
    if (fileKey) {
      group.classList.add('pause');
      words += `\n${fileKey}`;
    }
    title.textContent = words;
  }
}

export function button(text, onClick) {
  const made = Object.assign(document.createElement('button'), { type: 'button', textContent: text });
  made.addEventListener('click', onClick);
  return made;
}

function listItem(text, onClick) {
  const item = document.createElement('li');
  item.append(button(text, onClick));
  return item;
}

function noneItem() {
  return Object.assign(document.createElement('li'), { textContent: 'none' });
}

// The triggers the picture does not show, and the entries that do nothing with their reason.
export function fillLists({ report, namesByCode }, others, idle, select) {
  const otherItems = [];
  for (const [code, list] of entriesByCode(report)) {
    if (PICTURE_CODES.has(code)) continue;
    const { entry, index } = list.at(-1);
    otherItems.push(listItem(`${namesByCode[code] ?? 'code ' + code} (${code}): ${entry.detail}`,
      () => select(code, index)));
  }
  others.replaceChildren(...(otherItems.length ? otherItems : [noneItem()]));
  const idleItems = (report?.entries ?? []).filter((entry) => !entry.stored)
    .map((entry) => listItem(`${entry.path}: ${entry.reason}`, () => select(null, entryIndex(entry.path))));
  idle.replaceChildren(...(idleItems.length ? idleItems : [noneItem()]));
}

export function fillLegend(legend) {
  const items = KINDS.map(([kind, words]) => {
    const item = document.createElement('li');
    const swatch = document.createElement('span');
    swatch.style.background = `var(--${kind === 'nothing' ? 'idle' : kind})`;
    item.append(swatch, words);
    return item;
  });
  const toggle = document.createElement('li');
  toggle.textContent = 'dashed edge: toggle; "+Name": only while that key is held';
  legend.replaceChildren(...items, toggle);
}

// The verdict on the draft, in the balloon's words when there is trouble.
export function verdictText(check, fileName) {
  if (!check) return ['Checking…', false];
  if (check.refused) return [`${fileName} is not in force:\n${check.refused}`, true];
  const count = `${check.mapping_count} mapping${check.mapping_count === 1 ? '' : 's'}`;
  if (!check.loads) return [check.news, true];
  if (check.news) return [`${check.news}\nQuillfret would play ${count}.`, true];
  return [`In force: Quillfret would play ${count}.`, false];
}
