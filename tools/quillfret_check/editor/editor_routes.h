#pragma once

#include <string>

#include "editor_files.h"
#include "editor_request.h"

// The editor's answers, for a request the rules let through; `path` is its
// target under the secret ("api/check").
//
//   GET  ""  and the page's files   the page
//   GET  api/state    the file's text and version, the member table, the key
//                     names, whether Quillfret plays this file, the check
//   POST api/check    the body is a draft: what the program's loader makes
//                     of it, in the checker's and the balloons' words
//   POST api/save     the body is a draft, X-Quillfret-Base the version it
//                     started from: laid out and saved; refused (409) when
//                     the file changed on disk since
//   GET  api/events   the stream the page holds while it is open
EditorReply AnswerRequest(const EditorRequest& request, const std::string& path, const EditorFiles& files);

// What the check of one draft answers (page_report.h), with the balloon the
// program would show for it ("news", null for a clean load).
std::string CheckAnswer(std::string_view draft, const EditorFiles& files);
