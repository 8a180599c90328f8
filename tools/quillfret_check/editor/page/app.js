// The editor page: one state, drawn by render(); every event changes the
// state and calls render. The server checks each draft with the program's
// own loader; typing never waits for it.

import { codeOfKeyEvent, drawPicture } from './keyboard.js';
import { entriesOf, entryIndex, layOut, parseDraft, setMember, writeNotes } from './draft.js';
import { memberForm, pianoStrip } from './forms.js';
import { button, entriesByCode, fillLegend, fillLists, paintPicture, verdictText } from './view.js';

const state = {
  fileName: '', members: null, namesByCode: {}, noteNames: [], current: null,
  version: '', savedText: '', text: '', layoutRedone: false,
  draft: 0, check: null, checkedDraft: 0, lastCodes: new Map(),
  selectedCode: null, selectedIndex: null, strip: { low: 48 },
  details: null, conflict: null, saveMessage: '',
};
const $ = (id) => document.getElementById(id);
let picture = null;
let checkTimer = 0;
let checkInFlight = null;
let detailsInFlight = null;
let formKey = '';
let settingsText = null;  // the text the settings form was built from

// A newer draft's check cancels an older one's; a result is kept only for the draft it belongs to.
async function checkDraft() {
  checkInFlight?.abort();
  const controller = new AbortController();
  checkInFlight = controller;
  const draft = state.draft;
  try {
    const response = await fetch('api/check', { method: 'POST', body: state.text, signal: controller.signal });
    const check = response.ok ? await response.json() : { refused: await response.text() };
    if (draft !== state.draft) return;
    state.check = check;
    state.checkedDraft = draft;
    render();
  } catch (error) {
    if (error.name !== 'AbortError') $('check-state').textContent = `The check failed: ${error.message}`;
  }
}

function setText(text, { typed = false } = {}) {
  state.text = text;
  state.draft += 1;
  if (!typed) $('text').value = text;
  clearTimeout(checkTimer);
  checkTimer = setTimeout(checkDraft, 150);
  render();
}

// Writes a changed draft object back as text, in the saved layout.
function commit(draft) {
  setText(layOut(draft));
}

// Which entry of the draft the form shows: the one chosen from a list, or
// the one in force for the selected code.
function shownIndex() {
  if (state.selectedIndex !== null) return state.selectedIndex;
  const check = state.check;
  if (check?.loads) return entriesByCode(check).get(state.selectedCode)?.at(-1)?.index ?? null;
  return [...state.lastCodes].filter(([, code]) => code === state.selectedCode).at(-1)?.[0] ?? null;
}

function select(code, index = null) {
  state.selectedCode = code;
  state.selectedIndex = index;
  render();
}

// The member a failed load names, as [entry index, member].
function failedMember() {
  const failure = state.check?.failure;
  if (failure?.kind !== 'type') return [null, null];
  const match = /^mappings\[(\d+)\]\.(\w+)/.exec(failure.path);
  return match ? [Number(match[1]), match[2]] : [null, failure.path.split(/[.[]/)[0]];
}

function entryForm(draft, entries, index) {
  const entry = entries[index];
  const [errorIndex, errorMember] = failedMember();
  const picked = 'notes' in entry ? [entry.notes].flat() : 'note' in entry ? [entry.note] : [];
  return memberForm({
    rows: state.members.entry, object: entry, idPrefix: 'entry',
    errorMember: errorIndex === index ? errorMember : null,
    onChange: (name, value) => { setMember(entry, name, value); commit(draft); },
    extra: (row) => (row.name === 'notes' ? pianoStrip(picked.filter(Number.isInteger), state.noteNames,
      state.strip, (notes) => { writeNotes(entry, notes); commit(draft); }) : null),
  });
}

function renderEntry() {
  const code = state.selectedCode;
  const index = shownIndex();
  const key = `${code}|${index}|${state.text}`;
  if (key === formKey) return;
  formKey = key;
  const focused = document.activeElement?.id;
  const body = $('entry-body');
  const name = code === null ? null : state.namesByCode[code] ?? null;
  $('entry-title').textContent = code === null && index === null ? 'Click a key or press it to select it'
    : index !== null && code === null ? `mappings[${index}]` : `${name ?? 'code'} (${code})`;
  const draft = parseDraft(state.text);
  const entries = entriesOf(draft);
  if (code === null && index === null) return body.replaceChildren();
  if (!entries) return body.replaceChildren('The forms follow the text once it is a JSON object with a "mappings" list.');
  if (index === null || !entries[index] || typeof entries[index] !== 'object') {
    return body.replaceChildren(button(`Add an entry for ${name ?? code}`, () => {
      entries.push({ key: name ?? String(code) });
      state.selectedIndex = null;
      commit(draft);
    }));
  }
  const sends = document.createElement('p');
  sends.className = 'sends';
  sends.id = 'sends';
  body.replaceChildren(sends, entryForm(draft, entries, index),
    Object.assign(document.createElement('div'), { className: 'entry-actions' }));
  body.lastChild.append(button('Remove this entry', () => {
    entries.splice(index, 1);
    state.selectedIndex = null;
    commit(draft);
  }));
  if (focused) $(focused)?.focus();
}

// What the shown entry sends, asked of the server for the check shown (the
// check itself says only what the picture needs).
async function loadDetails(checkId, position) {
  detailsInFlight?.abort();
  const controller = new AbortController();
  detailsInFlight = controller;
  try {
    const response = await fetch(`api/entry?check=${checkId}&index=${position}`, { signal: controller.signal });
    if (!response.ok) return;
    state.details = { key: `${checkId}|${position}`, ...(await response.json()) };
    renderSends();
  } catch (error) {
    if (error.name !== 'AbortError') $('check-state').textContent = `The entry could not be asked: ${error.message}`;
  }
}

function renderSends() {
  const sends = $('sends');
  if (!sends) return;
  const index = shownIndex();
  const entries = state.check?.entries ?? [];
  const position = entries.findIndex((item) => entryIndex(item.path) === index);
  if (position < 0) return (sends.textContent = '');
  const key = `${state.check.check_id}|${position}`;
  if (state.details?.key !== key) {
    sends.textContent = '…';
    return loadDetails(state.check.check_id, position);
  }
  const entry = state.details;
  const lines = [`${entry.path}: ${entry.reason ?? 'stored'}`];
  if (entry.press) {
    lines.push(`press: ${entry.press}`);
    lines.push(entry.second_press ? `second press: ${entry.second_press}` : `release: ${entry.release}`);
  }
  for (const warning of entry.warnings ?? []) lines.push(`warning: ${warning}`);
  sends.textContent = lines.join('\n');
}

function renderSettings() {
  if (settingsText === state.text) return;
  settingsText = state.text;
  const draft = parseDraft(state.text);
  const body = $('settings-body');
  if (!draft) return body.replaceChildren('The settings follow the text once it is a JSON object.');
  const [errorIndex, errorMember] = failedMember();
  body.replaceChildren(memberForm({
    rows: state.members.file, object: draft, idPrefix: 'file',
    errorMember: errorIndex === null ? errorMember : null,
    onChange: (name, value) => { setMember(draft, name, value); commit(draft); },
  }));
}

// Codes of the file's own key members (a pause key), named by their member.
function fileKeys(report) {
  const keys = new Map();
  for (const row of state.members.file) {
    if (row.kind === 'key' && report?.[row.name]?.code) keys.set(report[row.name].code, row.name);
  }
  return keys;
}

function renderChecks() {
  const check = state.check;
  if (check?.loads) {
    state.lastCodes = new Map(check.entries.filter((entry) => entry.stored)
      .map((entry) => [entryIndex(entry.path), entry.code]));
  }
  const [errorIndex] = failedMember();
  paintPicture(picture, { report: check, namesByCode: state.namesByCode, fileKeys: fileKeys(check),
    selected: state.selectedCode, errorCode: state.lastCodes.get(errorIndex) });
  fillLists({ report: check, namesByCode: state.namesByCode }, $('others'), $('idle'), select);
  const [verdict, trouble] = verdictText(check, state.fileName);
  $('verdict').textContent = verdict;
  $('verdict').classList.toggle('trouble', trouble);
  const failure = check?.failure?.message ?? check?.refused;
  $('failure').hidden = !failure;
  $('failure').textContent = failure ? `Would fail: ${failure}` : '';
  $('check-state').textContent = state.checkedDraft === state.draft ? `Draft ${state.draft} checked.`
    : `Draft ${state.draft} is being checked; shown: draft ${state.checkedDraft}.`;
}

function render() {
  const dirty = state.text !== state.savedText;
  $('save-state').textContent = state.saveMessage || (dirty ? 'Unsaved changes.' : 'Saved.');
  $('layout-note').hidden = !state.layoutRedone;
  $('conflict').hidden = !state.conflict;
  if (state.conflict) {
    $('conflict-text').textContent = `${state.fileName} changed on disk since this page read it (saved from ` +
      'another program). Your draft was not saved.';
  }
  renderChecks();
  renderEntry();
  renderSends();
  renderSettings();
}

async function save() {
  const text = state.text;
  const response = await fetch('api/save', { method: 'POST', headers: { 'X-Quillfret-Base': state.version },
    body: text });
  if (response.status === 409) {
    state.conflict = await response.json();
    state.saveMessage = 'Not saved: the file changed on disk.';
    return render();
  }
  if (!response.ok) {
    state.saveMessage = `Not saved: ${(await response.text()).trim()}`;
    return render();
  }
  const saved = await response.json();
  Object.assign(state, { version: saved.version, savedText: saved.text, layoutRedone: false, saveMessage: '' });
  if (state.text === text) {
    setText(saved.text);
    state.saveMessage = 'Saved: Quillfret reloads it at once.';
    render();
  }
}

function loadFromDisk(conflict) {
  Object.assign(state, { version: conflict.version, savedText: conflict.text, conflict: null, saveMessage: '' });
  setText(conflict.text);
}

function onKeyDown(event) {
  if (event.target.closest('input, textarea, select, button, [contenteditable]')) return;
  const code = codeOfKeyEvent(event);
  if (code === null) return;
  const keepsDefault = event.ctrlKey || event.metaKey || event.key === 'Tab' || /^F\d+$/.test(event.key);
  if (!keepsDefault) event.preventDefault();
  select(code);
}

function wire() {
  $('text').addEventListener('input', () => { state.saveMessage = ''; setText($('text').value, { typed: true }); });
  $('save').addEventListener('click', save);
  $('conflict-load').addEventListener('click', () => loadFromDisk(state.conflict));
  $('conflict-keep').addEventListener('click', () => {
    Object.assign(state, { version: state.conflict.version, conflict: null, saveMessage: 'The next save replaces the file on disk.' });
    render();
  });
  window.addEventListener('keydown', onKeyDown);
  window.addEventListener('beforeunload', (event) => {
    if (state.text === state.savedText) return;
    event.preventDefault();
    event.returnValue = '';
  });
  // Held open while the page is: the server ends a while after the last page closes.
  new EventSource('api/events');
}

async function start() {
  const loaded = await (await fetch('api/state')).json();
  Object.assign(state, { fileName: loaded.file_name, members: loaded.members, namesByCode: loaded.names_by_code,
    noteNames: loaded.note_names, current: loaded.current, version: loaded.version, savedText: loaded.text,
    layoutRedone: loaded.layout_redone, check: loaded.check, checkedDraft: 1 });
  document.title = `${loaded.file_name} - Quillfret editor`;
  $('file-name').textContent = loaded.file_name;
  const note = $('current-note');
  note.hidden = loaded.current.is_current;
  note.textContent = loaded.current.name ? `This is not the current config: Quillfret plays ${loaded.current.name}.`
    : 'This is not the current config: the CFG folder has none.';
  const names = Object.assign(document.createElement('datalist'), { id: 'key-name-list' });
  for (const name of Object.keys(loaded.key_names)) names.append(Object.assign(document.createElement('option'), { value: name }));
  document.body.append(names);
  picture = drawPicture($('picture'), (code) => select(code));
  fillLegend($('legend'));
  wire();
  Object.assign(state, { text: loaded.text, draft: 1 });
  $('text').value = loaded.text;
  render();
}

start();
