// The start-up baseline: a bare Qt Widgets window of the main window's size and frame, started
// the way KORVANE is, so the figures script can set KORVANE's time to a mapped window against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  window.setWindowTitle(QStringLiteral("bare-window"));
  window.resize(1280, 760);
  window.show();
  return app.exec();
}
