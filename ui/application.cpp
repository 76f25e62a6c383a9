#include "ui/application.h"

#include <clocale>

#include <QApplication>

namespace verada {

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv) {
    auto application = std::make_unique<QApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return application;
}

}  // namespace verada
