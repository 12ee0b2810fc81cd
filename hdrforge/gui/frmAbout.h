// The About form: what the program is for, its version and two links.
#pragma once

#include <QDialog>
#include <QLabel>

// A label that reports clicks, shown as a link.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class frmAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kEMail = "hdrforge@example.org";
    static constexpr const char* kHomePage = "https://example.org/hdrforge/";

    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* picture;
    QLabel* lblAbout;
    QLabel* lblVersion;
    LinkLabel* lblEMail;
    LinkLabel* lblHomePage;

public slots:
    void lblEMail_Click();
    void lblHomePage_Click();
};
