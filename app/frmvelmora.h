#pragma once

#include <QMainWindow>

namespace velmora {

/// The program's one window: the composition root of every page.
class frmVelmora : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmVelmora(QWidget *parent = nullptr);
    ~frmVelmora() override;

    void Form_Load();
};

} // namespace velmora
