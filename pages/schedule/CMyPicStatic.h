#pragma once

#include <QWidget>

// The IO schedule window's server clock: a yellow panel with the title "Quorvel MY 서버시간" over
// the appliance's time as the last reply reported it. The clock does not run by itself.
class CMyPicStatic : public QWidget {
    Q_OBJECT
public:
    explicit CMyPicStatic(QWidget* parent = nullptr);

    void SetTimeText(const QString& text);
    QString timeText() const { return m_timeText; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_timeText;
};
