// The draft: the file's text, read into an object when a form changes it and
// written back in the layout the server saves (mapping_layout.cpp): every
// member of the file on its own line, every entry of "mappings" on its own
// line. Members keep their order; unknown members are kept as they are.

// The draft's object, or null when the text is not a JSON object.
export function parseDraft(text) {
  try {
    const value = JSON.parse(text);
    return value !== null && typeof value === 'object' && !Array.isArray(value) ? value : null;
  } catch {
    return null;
  }
}

function oneLine(value) {
  if (Array.isArray(value)) return '[' + value.map(oneLine).join(', ') + ']';
  if (value !== null && typeof value === 'object') {
    const members = Object.entries(value).map(([name, item]) => JSON.stringify(name) + ': ' + oneLine(item));
    return members.length === 0 ? '{}' : '{ ' + members.join(', ') + ' }';
  }
  return JSON.stringify(value);
}

function memberValue(name, value) {
  if (name !== 'mappings' || !Array.isArray(value) || value.length === 0) return oneLine(value);
  return '[\n' + value.map((entry) => '    ' + oneLine(entry)).join(',\n') + '\n  ]';
}

export function layOut(document) {
  const members = Object.entries(document);
  if (members.length === 0) return '{}\n';
  return '{\n' + members.map(([name, value]) => '  ' + JSON.stringify(name) + ': ' + memberValue(name, value))
    .join(',\n') + '\n}\n';
}

// Sets `name` to `value` in `object`, in its place when it is there, last
// otherwise; `undefined` removes it.
export function setMember(object, name, value) {
  if (value === undefined) {
    delete object[name];
  } else {
    object[name] = value;
  }
}

// Puts `name` in the place of `old_name` (with `value`), keeping the order of the others.
export function renameMember(object, oldName, name, value) {
  const entries = Object.entries(object).map(([key, item]) => (key === oldName ? [name, value] : [key, item]));
  for (const key of Object.keys(object)) delete object[key];
  for (const [key, item] of entries) object[key] = item;
}

// Writes the notes picked into the member the entry uses: "notes" when it
// has it, "note" for one note of an entry that has no "notes" (as the
// samples write one note), "notes" once there are more.
export function writeNotes(entry, notes) {
  if ('notes' in entry || (!('note' in entry) && notes.length > 1)) {
    setMember(entry, 'notes', notes.length ? notes : undefined);
  } else if (notes.length > 1) {
    renameMember(entry, 'note', 'notes', notes);
  } else {
    setMember(entry, 'note', notes.length ? notes[0] : undefined);
  }
}

// The index of an entry from its place in the report: "mappings[3]" gives 3.
export function entryIndex(path) {
  const match = /^mappings\[(\d+)\]/.exec(path ?? '');
  return match ? Number(match[1]) : null;
}

// The draft's entries, when "mappings" is a list.
export function entriesOf(document) {
  return document && Array.isArray(document.mappings) ? document.mappings : null;
}
