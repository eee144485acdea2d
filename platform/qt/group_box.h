// A group box drawn the Windows way: the frame runs through the middle of its title.
#pragma once

#include <QString>
#include <QWidget>

namespace kestrin::qt {

class GroupBox final : public QWidget {
  public:
    explicit GroupBox(const QString& title, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_title;
};

}  // namespace kestrin::qt
