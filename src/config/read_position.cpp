#include "config/read_position.h"

#include <iterator>

using json = nlohmann::json;

Step StepInto(const json& container, std::size_t index, const json::const_iterator& it) {
    return {&container, index, container.is_object() ? &it.key() : nullptr};
}

std::string StepLabel(const Step& step) {
    if (step.container == nullptr || !step.container->is_structured()) return "";
    std::string label(1, '[');
    label += step.name != nullptr ? json(*step.name).dump(-1, ' ', false, json::error_handler_t::replace)
                                  : std::to_string(step.index);
    label += ']';
    return label;
}

std::string PathOf(const Position& at) {
    std::string path = at.entry.container != nullptr ? "mappings" + StepLabel(at.entry) : "";
    if (!at.member.empty()) path += (path.empty() ? "" : ".") + std::string(at.member);
    return path + StepLabel(at.element);
}

namespace {

// A value's kind in words: "a string", "an array", "null".
std::string Described(const json& value) {
    if (value.is_null()) return "null";
    return (value.is_structured() ? "an " : "a ") + std::string(value.type_name());
}

// The library's message without its prefix, up to and including `end`.
std::string ParserWords(const std::string& what, const char* end) {
    const std::size_t found = what.find(end);
    return found == std::string::npos ? what : what.substr(found + std::string_view(end).size());
}

// Line and column of the parser's position `byte` (the characters it took,
// counted from 1), counted as the parser counts them: a line ends after '\n',
// and each attempt to read past the end counts as one more character. The
// stream is read again from its start, up to that position.
void NoteSyntaxPosition(LoadFailure& failure, std::istream& in, std::size_t byte) {
    in.clear();
    in.seekg(0);
    std::size_t line = 1, column = 0, taken = 0;
    for (std::istreambuf_iterator<char> it(in), end; taken < byte && it != end; ++it, ++taken) {
        if (*it == '\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
    }
    failure.line = line;
    failure.column = column + (byte - taken);
}

}  // namespace

void NoteFailure(LoadFailure& failure, const Position& at, const std::exception& error, std::istream& in) {
    if (const auto* syntax = dynamic_cast<const json::parse_error*>(&error)) {
        failure.kind = FileFailure::Syntax;
        failure.detail = ParserWords(syntax->what(), ": ");
        NoteSyntaxPosition(failure, in, syntax->byte);
        return;
    }
    const bool empty = dynamic_cast<const EmptyValue*>(&error) != nullptr;
    if ((empty || dynamic_cast<const json::type_error*>(&error) != nullptr) && at.value != nullptr) {
        failure.kind = FileFailure::Type;
        failure.path = PathOf(at);
        const std::string described = empty ? "an empty " + std::string(at.value->type_name()) : Described(*at.value);
        failure.detail = described + " where " + std::string(at.expected) + " is expected";
        return;
    }
    failure.kind = FileFailure::Other;
    failure.path = PathOf(at);
    failure.detail =
        dynamic_cast<const json::exception*>(&error) != nullptr ? ParserWords(error.what(), "] ") : error.what();
}
