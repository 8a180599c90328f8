// Drawing the check's report: the keys' colours and labels, the lists
// beside the picture, and the verdict. Every word about what a file does
// comes from the server's report, in the checker's words.

import { PICTURE_CODES } from './keyboard.js';
import { entryIndex } from './draft.js';

export const KINDS = [['notes', 'notes'], ['controllers', 'controllers'], ['program', 'program change'],
  ['bend', 'pitch bend'], ['transpose', 'transpose'], ['pause', 'file key (pause)'], ['nothing', 'sends nothing']];

// What a stored entry does, for its colour: the first of notes,
// controllers, program, bend, transpose that it has.
export function kindOf(entry) {
  if (entry.notes?.length) return 'notes';
  if (entry.cc_enabled && entry.cc_numbers?.length) return 'controllers';
  if (entry.program !== null && entry.program !== undefined) return 'program';
  if (entry.pitch_bend !== null && entry.pitch_bend !== undefined) return 'bend';
  if (entry.transpose !== null && entry.transpose !== undefined) return 'transpose';
  return 'nothing';
}

// The short line under a key's name: its notes by name, else its first message.
export function detailOf(entry) {
  const notes = entry.press.filter((m) => m.type === 'note_on').map((m) => m.note_name);
  if (notes.length) return notes.join(' ');
  if (entry.transpose !== null && entry.transpose !== undefined) return entry.transpose_text.split(':')[0];
  return entry.press[0]?.text ?? '';
}

export function messagesText(messages) {
  return messages.length ? messages.map((m) => m.text).join(', ') : 'nothing';
}

// For each code, the entries the report has for it, in file order: the last one is in force.
export function entriesByCode(report) {
  const byCode = new Map();
  (report?.entries ?? []).forEach((entry, position) => {
    if (entry.outcome !== 'stored') return;
    const list = byCode.get(entry.key.code) ?? [];
    list.push({ entry, index: entryIndex(entry.path) ?? position });
    byCode.set(entry.key.code, list);
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
    detail.textContent = inForce ? detailOf(inForce) : (fileKey ?? '');
    condition.textContent = inForce?.modifier ? '+' + (inForce.modifier.name ?? inForce.modifier.text) : '';
    let words = `${namesByCode[code] ?? 'code'} (${code})`;
    if (inForce) {
      group.classList.add(kindOf(inForce), inForce.mode === 'toggle' ? 'toggle' : 'hold');
      words += `\npress: ${messagesText(inForce.press)}`;
      words += inForce.mode === 'toggle' ? `\nsecond press: ${messagesText(inForce.second_press)}`
        : `\nrelease: ${messagesText(inForce.release)}`;
    }
    if (fileKey) {
      group.classList.add('pause');
      words += `\n${fileKey}`;
    }
    title.textContent = words;
  }
}

function listItem(text, onClick) {
  const button = Object.assign(document.createElement('button'), { type: 'button', textContent: text });
  button.addEventListener('click', onClick);
  const item = document.createElement('li');
  item.append(button);
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
    otherItems.push(listItem(`${namesByCode[code] ?? 'code ' + code} (${code}): ${detailOf(entry)}`,
      () => select(code, index)));
  }
  others.replaceChildren(...(otherItems.length ? otherItems : [noneItem()]));
  const idleItems = (report?.entries ?? []).filter((entry) => entry.outcome !== 'stored')
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
  const { report, news } = check;
  const count = `${report.mapping_count} mapping${report.mapping_count === 1 ? '' : 's'}`;
  if (!report.loads) return [news, true];
  const warnings = report.warning_count ? `; ${report.warning_count} warning(s), see the entries` : '';
  if (news) return [`${news}\nQuillfret would play ${count}${warnings}.`, true];
  return [`In force: Quillfret would play ${count}${warnings}.`, false];
}
