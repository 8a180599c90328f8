#include "config/member_reading.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "config/utf8.h"

using json = nlohmann::json;

const json* Member(Reader& r, const json& object, std::string_view name) {
    r.at.member = name;
    r.at.element = {};
    r.at.value = nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

const json& Expect(Reader& r, const json& value, std::string_view expected) {
    r.at.value = &value;
    r.at.expected = expected;
    return value;
}

namespace {

// A number read as a signed 32-bit value: an integer keeps its low 32 bits,
// true and false are 1 and 0 (the library's own conversion); anything else
// raises a type error. The library converts a fraction by a plain cast, which
// is undefined beyond 32 bits, so a fraction is truncated toward zero here and
// then keeps its low 32 bits like an integer. (The parser rejects a number
// that overflows a double, so the value is always finite.)
int32_t ToInt32(const json& value) {
    if (!value.is_number_float()) return value.get<int32_t>();
    const double low = std::fmod(std::trunc(value.get<double>()), 4294967296.0);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(low)));
}

int32_t Number(Reader& r, const json& value) { return ToInt32(Expect(r, value, "a number")); }

const std::string& Text(Reader& r, const json& value) {
    return Expect(r, value, "a string").get_ref<const std::string&>();
}

bool Boolean(Reader& r, const json& value) { return Expect(r, value, "a boolean").get<bool>(); }

// Stores a number into the entry's field of `row`, whichever kind of field it is.
void StoreNumber(const MemberRow& row, Mapping& mapping, int32_t value) {
    if (const auto* field = std::get_if<int32_t Mapping::*>(&row.field)) mapping.*(*field) = value;
    if (const auto* field = std::get_if<std::optional<int32_t> Mapping::*>(&row.field)) mapping.*(*field) = value;
    if (const auto* field = std::get_if<std::vector<int32_t> Mapping::*>(&row.field)) {
        (mapping.*(*field)).push_back(value);
    }
}

// A list of numbers: an array's elements in order, or any single value as a
// one-element list.
void ReadNumbers(Reader& r, const json& values, const MemberRow& row, Mapping& mapping) {
    std::size_t index = 0;
    for (auto it = values.begin(); it != values.end(); ++it, ++index) {
        r.at.element = StepInto(values, index, it);
        StoreNumber(row, mapping, Number(r, *it));
    }
}

// The index of `text` among the row's choices; the default (the first) for any other text.
std::size_t ChoiceIndex(const MemberRow& row, const std::string& text) {
    const auto found = std::find(row.choices.begin(), row.choices.end(), text);
    return found == row.choices.end() ? 0 : static_cast<std::size_t>(found - row.choices.begin());
}

// Reads one member of an entry into `mapping`; `written` receives the string
// of a member whose value is one.
void ReadEntryValue(Reader& r, const json& value, const MemberRow& row, Mapping& mapping, std::string* written) {
    switch (row.kind) {
        case MemberKind::Key: {
            const std::string& text = Text(r, value);
            mapping.*std::get<int32_t Mapping::*>(row.field) = ResolveKeyName(r.key_names, text);
            if (written != nullptr) *written = text;
            return;
        }
        case MemberKind::Choice: {
            const std::string& text = Text(r, value);
            // The choices are listed in the order of the model's enumeration.
            mapping.*std::get<MappingMode Mapping::*>(row.field) = static_cast<MappingMode>(ChoiceIndex(row, text));
            if (written != nullptr) *written = text;
            return;
        }
        case MemberKind::Boolean: mapping.*std::get<bool Mapping::*>(row.field) = Boolean(r, value); return;
        case MemberKind::Number: StoreNumber(row, mapping, Number(r, value)); return;
        case MemberKind::Numbers: ReadNumbers(r, value, row, mapping); return;
        case MemberKind::Text:
        case MemberKind::Texts:
        case MemberKind::Entries: return;  // no entry member takes these
    }
}

// A list of one or more non-empty strings: an array, never a single value.
// They are names of programs, kept as the system gives names: wide.
std::vector<std::wstring> Texts(Reader& r, const json& values) {
    Expect(r, values, "a list of program names").get_ref<const json::array_t&>();
    if (values.empty()) throw EmptyValue();
    std::vector<std::wstring> texts;
    std::size_t index = 0;
    for (auto it = values.begin(); it != values.end(); ++it, ++index) {
        r.at.element = StepInto(values, index, it);
        const std::string& text = Expect(r, *it, "a program name").get_ref<const std::string&>();
        if (text.empty()) throw EmptyValue();
        texts.push_back(WideFromUtf8(text));
    }
    return texts;
}

}  // namespace

void ReadEntryMember(Reader& r, const json& entry, const MemberRow& row, Mapping& mapping, EntryRead* noted) {
    const json* value = Member(r, entry, row.name);
    if (value == nullptr) return;
    std::string* written = nullptr;
    if (noted != nullptr) written = &noted->members.emplace_back(MemberWritten{&row, {}}).text;
    if (!row.alternative_to.empty() && entry.contains(row.alternative_to)) return;
    ReadEntryValue(r, *value, row, mapping, written);
}

void ReadFileMember(Reader& r, const json& document, const MemberRow& row, FileSettings& settings) {
    const json* value = Member(r, document, row.name);
    if (value == nullptr) return;
    switch (row.kind) {
        case MemberKind::Text:
            settings.*std::get<std::optional<std::string> FileSettings::*>(row.field) = Text(r, *value);
            return;
        case MemberKind::Boolean: settings.*std::get<bool FileSettings::*>(row.field) = Boolean(r, *value); return;
        case MemberKind::Texts:
            settings.*std::get<std::vector<std::wstring> FileSettings::*>(row.field) = Texts(r, *value);
            return;
        case MemberKind::Key: {
            const std::string& text = Text(r, *value);
            settings.*std::get<std::optional<NamedKey> FileSettings::*>(row.field) =
                NamedKey{text, ResolveKeyName(r.key_names, text)};
            return;
        }
        case MemberKind::Number:
        case MemberKind::Numbers:
        case MemberKind::Choice:
        case MemberKind::Entries: return;  // no file member takes these
    }
}
