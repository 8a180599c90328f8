#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "editor_files.h"
#include "editor_request.h"

// The reads of the last drafts checked, so that the page can ask what one
// entry sends without the draft being read again.
struct CheckedDraft {
    uint64_t id = 0;
    MappingFileRead read;  // with every entry
};

// What the server keeps between requests.
struct EditorSession {
    EditorFiles files;
    std::deque<CheckedDraft> checked;  // the newest last
    uint64_t last_check_id = 0;
};

// The editor's answers, for a request the rules let through; `path` is its
// target under the secret ("api/check").
//
//   GET  ""  and the page's files   the page
//   GET  api/state    the file's text and version, the member table, the key
//                     names, whether Quillfret plays this file, the check
//   POST api/check    the body is a draft: what the program's loader makes
//                     of it, in the checker's and the balloons' words
//   GET  api/entry?check=ID&index=N   entry N of that check, explained whole
//   POST api/save     the body is a draft, X-Quillfret-Base the version it
//                     started from: laid out and saved; refused (409) when
//                     the file changed on disk since
//   GET  api/events   the stream the page holds while it is open
EditorReply AnswerRequest(const EditorRequest& request, const std::string& path, EditorSession& session);

// The answer to the check of one draft (page_report.h), with the balloon
// the program would show for it ("news", null for a clean load); its read
// is kept in `session`.
std::string CheckAnswer(std::string_view draft, EditorSession& session);
