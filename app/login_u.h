#pragma once
#include <QDialog>

class AppContext;
class QLineEdit;
class QPushButton;

// The sign-in window: the first window of the run; closing it ends the program.
class Tlogin : public QDialog {
    Q_OBJECT
public:
    explicit Tlogin(AppContext &ctx, QWidget *parent = nullptr);

    // Checks the typed user name and password; on success sets the current user,
    // writes the log row, shows the main window and hides this one.
    bool enter();

    QLineEdit *user_name;
    QLineEdit *password;
    QPushButton *enter_btn;

    static const QString kWrongPassword;
    static const QString kInactiveUser;
    // The most characters the password box takes (a line edit's own limit); a longer password
    // could never be typed here.
    static constexpr int kPasswordMaxLength = 32767;

protected:
    void closeEvent(QCloseEvent *e) override;
    void reject() override;

private:
    AppContext &m_ctx;
};
