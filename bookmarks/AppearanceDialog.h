#pragma once

#include <QDialog>

class ColorPickerButton;
class MainWindow;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Colours and fonts of the main window's two lists and its size. Changes show at once; "确定"
// keeps them and saves them, "取消" leaves them on screen until the next start.
class AppearanceDialog : public QDialog {
    Q_OBJECT
public:
    explicit AppearanceDialog(MainWindow& mainWindow);

    // The main window was resized while the dialog is open.
    void ShowWindowSize(const QSize& size);

    QGroupBox* 分组框1;
    ColorPickerButton* 字_文本颜色;
    ColorPickerButton* 字_字体背景色;
    ColorPickerButton* 字_背景颜色;
    QComboBox* 字_字体名称;
    QSpinBox* 字_字体大小;
    QGroupBox* 分组框2;
    ColorPickerButton* 字_字体背景色1;
    ColorPickerButton* 分类背景颜色;
    QSpinBox* 字_字体大小1;
    QComboBox* 字_字体名称1;
    QLabel* 标签6;
    QLineEdit* 宽框;
    QLineEdit* 高框;
    QPushButton* 按钮1;
    QPushButton* 按钮2;

private:
    void CreateControls();
    void FillFromMainWindow();
    void ConnectPreview();
    void Confirm();

    MainWindow& m_mainWindow;
};
