#pragma once

#include <memory>

class QApplication;

namespace verada {

// The process's QApplication. Qt takes the whole C locale from the environment, where a comma
// locale would make "%f" write and read "0,500000" (dialogs, configuration and scene files);
// numbers stay in the C form.
std::unique_ptr<QApplication> makeApplication(int& argc, char** argv);

}  // namespace verada
