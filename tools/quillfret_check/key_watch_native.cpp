// The desktop's keys are watched through the low-level hooks of Windows;
// elsewhere there is nothing to watch.
#include "key_session.h"

int RunKeySession(KeySession&, std::ostream&, std::ostream& err) {
    err << "quillfret-check: --keys watches the keys of a Windows desktop; run quillfret-check.exe there\n";
    return 2;
}
