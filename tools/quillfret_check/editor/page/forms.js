// The forms, built from the member table the server sends: one control per
// member kind, so a member added to the table appears with the control of
// its kind. A member left empty is absent from the file (its default then
// holds); a member that is an alternative to another shows only when the
// entry has it.

import { svgElement } from './keyboard.js';

function make(tag, properties = {}, children = []) {
  const made = Object.assign(document.createElement(tag), properties);
  made.append(...children);
  return made;
}

function numbersOf(text) {
  const numbers = text.split(/[\s,]+/).filter(Boolean).map(Number);
  return numbers.every(Number.isInteger) ? numbers : null;
}

function asList(value) {
  if (value === undefined) return [];
  return Array.isArray(value) ? value : [value];
}

function choiceSelect(options, current) {
  const select = make('select');
  for (const [value, label] of options) select.append(make('option', { value, textContent: label }));
  select.value = current;
  return select;
}

function defaultWords(row) {
  return row.default === null ? 'none' : JSON.stringify(row.default);
}

// A control for one member: [element, read()] where read() gives the value
// to write, undefined for absent, or null when what is typed is not one.
function control(row, value) {
  const absent = `(absent: ${defaultWords(row)})`;
  switch (row.kind) {
    case 'boolean': {
      const select = choiceSelect([['', absent], ['true', 'true'], ['false', 'false']],
        value === undefined ? '' : String(value));
      return [select, () => (select.value === '' ? undefined : select.value === 'true')];
    }
    case 'choice': {
      const select = choiceSelect([['', absent], ...row.choices.map((choice) => [choice, choice])], value ?? '');
      if (value !== undefined && !row.choices.includes(value)) {
        select.append(make('option', { value, textContent: String(value) }));
        select.value = value;
      }
      return [select, () => (select.value === '' ? undefined : select.value)];
    }
    case 'number': {
      const input = make('input', { type: 'number', step: 1, value: value ?? '', placeholder: absent });
      if (row.range) Object.assign(input, { min: row.range.low, max: row.range.high });
      return [input, () => (input.value === '' ? undefined : Number.isInteger(Number(input.value))
        ? Number(input.value) : null)];
    }
    case 'numbers': {
      const input = make('input', { type: 'text', value: asList(value).join(', '), placeholder: absent });
      return [input, () => (input.value.trim() === '' ? undefined : numbersOf(input.value))];
    }
    case 'texts': {
      const area = make('textarea', { rows: 2, value: asList(value).join('\n'), placeholder: 'one per line' });
      return [area, () => {
        const lines = area.value.split('\n').map((line) => line.trim()).filter(Boolean);
        return lines.length === 0 ? undefined : lines;
      }];
    }
    default: { // key, text
      const input = make('input', { type: 'text', value: value ?? '', placeholder: absent });
      if (row.kind === 'key') input.setAttribute('list', 'key-name-list');
      return [input, () => (input.value === '' ? undefined : input.value)];
    }
  }
}

// A form for `object` (an entry, or the file): `rows` from the member
// table; `onChange(name, value)` for each member changed; `extra(row)` may
// give an element shown under a member's control (the piano strip);
// `errorMember` is the member a failed load names.
export function memberForm({ rows, object, onChange, extra, errorMember, idPrefix }) {
  const form = make('form', { className: 'members' });
  form.addEventListener('submit', (event) => event.preventDefault());
  for (const row of rows) {
    if (row.kind === 'entries') continue;
    if (row.alternative_to && !(row.name in object)) continue;
    const [field, read] = control(row, object[row.name]);
    field.id = `${idPrefix}-${row.name}`;
    field.name = row.name;
    const help = make('small', { textContent: row.help + (row.range ? ` (${row.range.low} to ${row.range.high})` : '') });
    const cell = make('div', {}, [field, help]);
    if (row.needs) help.textContent += `; acts only with "${row.needs}"`;
    if (row.name === errorMember) {
      field.classList.add('error-field');
      cell.append(make('span', { className: 'field-error', textContent: 'the load fails here' }));
    }
    field.addEventListener('change', () => {
      const value = read();
      if (value === null) {
        field.setCustomValidity('not a valid value');
        field.reportValidity();
        return;
      }
      field.setCustomValidity('');
      onChange(row.name, value);
    });
    const strip = extra?.(row);
    if (strip) cell.append(strip);
    form.append(make('label', { htmlFor: field.id, textContent: row.name }), cell);
  }
  return form;
}

const BLACK = new Set([1, 3, 6, 8, 10]);

// A piano strip of five octaves from `low` (a C): each key labelled with its
// note name when picked, each C always; a click picks or drops the note.
function stripPicture(low, picked, noteNames, onToggle) {
  const white = 16;
  const whites = [...Array(61).keys()].map((i) => low + i).filter((note) => !BLACK.has(note % 12) && note <= 127);
  const svg = svgElement('svg', { viewBox: `0 0 ${whites.length * white} 70`, role: 'group' });
  svgElement('title', {}, svg).textContent = 'Notes: click to pick or drop';
  const keys = [];
  whites.forEach((note, index) => keys.push([note, index * white, white, 68, 'white']));
  whites.forEach((note, index) => {
    if (BLACK.has((note + 1) % 12) && note + 1 <= 127) keys.push([note + 1, index * white + 11, 10, 40, 'black']);
  });
  for (const [note, x, width, height, colour] of keys) {
    const chosen = picked.includes(note);
    const rect = svgElement('rect', { x, y: 1, width, height, class: colour + (chosen ? ' picked' : ''),
      'data-note': note }, svg);
    svgElement('title', {}, rect).textContent = `${note} (${noteNames[note]})`;
    if (chosen || note % 12 === 0) {
      const label = svgElement('text', { x: x + 1, y: colour === 'black' ? 36 : 64,
        class: colour === 'black' ? 'black-label' : '' }, svg);
      label.textContent = noteNames[note];
    }
  }
  svg.addEventListener('click', (event) => {
    const note = event.target.dataset?.note;
    if (note !== undefined) onToggle(Number(note));
  });
  return svg;
}

// The strip with buttons that move it by an octave; `state.low` keeps its place.
export function pianoStrip(picked, noteNames, place, onChange) {
  const holder = make('div', { className: 'strip' });
  const draw = () => {
    const down = make('button', { type: 'button', textContent: '◀ octave', disabled: place.low <= 0 });
    const up = make('button', { type: 'button', textContent: 'octave ▶', disabled: place.low >= 60 });
    down.addEventListener('click', () => { place.low -= 12; draw(); });
    up.addEventListener('click', () => { place.low += 12; draw(); });
    const picture = stripPicture(place.low, picked, noteNames, (note) => {
      onChange(picked.includes(note) ? picked.filter((n) => n !== note) : [...picked, note]);
    });
    holder.replaceChildren(make('div', { className: 'strip-row' }, [down, up]), picture);
  };
  draw();
  return holder;
}
