// Answers every message box the program opens and keeps its text, so that a test that runs
// into one fails on the text instead of hanging in it.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>
#include <vector>

namespace zepa::test {

class BoxAnswerer {
  public:
    BoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text().toStdString());
                box->accept();
            }
        });
        timer_.start(10);
    }
    std::vector<std::string> texts;

  private:
    QTimer timer_;
};

}  // namespace zepa::test
