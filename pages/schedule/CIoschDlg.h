#pragma once

#include "CPageDlg.h"

#include <QTimer>

#include <cstdint>

class CMyPicStatic;
class QPushButton;
class QTableWidget;

// Page 11: the timetable of the relay outputs of the appliance's IO devices. A window of its
// own, not laid into the main window's page frame.
class CIoschDlg : public CPageDlg {
    Q_OBJECT
public:
    enum ControlId : int {
        kIoDevices = 1053,
        kRefresh = 1055,
        kClock = 1072, // the appliance's time
    };

    static constexpr int kClockPeriodMs = 1000;
    // Between the table requests and the first time request when the window opens.
    static constexpr int kTimeRequestPauseMs = 30;

    CIoschDlg(qv::CGlobalData& store, qv::Prompt& prompt, QWidget* parent = nullptr);

    // The window was opened through its link: asks for the IO device list and the schedules,
    // and a moment later for the appliance's time.
    void requestTables();
    // The appliance's answers, as the main window hands them over (the tables are in the store).
    void ioListArrived();
    void schedulesArrived();
    void schedulesApplied(int32_t value);
    void serverTimeArrived(int32_t secondsSince1970);

    // Rebuild the IO device list (reply 21) and the current device's schedules (reply 22) from
    // the store.
    void SetIOListData();
    void SetScheduleData();
    // Shows the appliance's time (reply 24).
    void SetTimeText(const QString& text);

    // While the window is shown, asks the appliance for its time once a second.
    void startClockTimer() { m_clockTimer.start(kClockPeriodMs); }
    void stopClockTimer() { m_clockTimer.stop(); }
    bool clockTimerActive() const { return m_clockTimer.isActive(); }

    // The Refresh button and the IO device list, which the dispatcher enables again when the IO
    // list and the schedules arrive.
    QPushButton* refreshButton() const { return m_refresh; }
    QTableWidget* ioDeviceList() const { return m_ioDevices; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setupControls();
    void onClockTick();
    void onRefresh();

    QTimer m_clockTimer; // timer 3999
    CMyPicStatic* m_clock;
    QTableWidget* m_ioDevices;
    QPushButton* m_refresh;
};
