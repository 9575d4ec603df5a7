#include "app/mainwindow.h"

void TfrmMain::validateRadioCodeKeyPress(QChar&) {}
void TfrmMain::validateNumericKeyPress(QChar&) {}
void TfrmMain::validateFloatNumericKeyPress(QChar&) {}
void TfrmMain::edtBatteryTestIntervalChange() {}
void TfrmMain::edtRadioTestAlarmIntervalChange() {}
void TfrmMain::edtMissedAckChange() {}
void TfrmMain::edtNoShortTxChange() {}
void TfrmMain::edtNoLongTxChange() {}
void TfrmMain::edtDementiaBlockTimeChange() {}
void TfrmMain::edtRfidInactivityChange() {}
void TfrmMain::edtRadioInactivityChange() {}
void TfrmMain::edtOutOfFieldTimeToRetransmitChange() {}
void TfrmMain::edtButtonActivationDelayChange() {}
void TfrmMain::edtLongDoubleTriplePressTimeChange() {}
void TfrmMain::edtLongDoubleTriplePressTimeExit() {}
void TfrmMain::edtValidateRadioCode(QLineEdit*) {}
void TfrmMain::cbConfig_D0Click() {}
void TfrmMain::cbRadioTestAlarmActiveClick() {}
void TfrmMain::cbConfig_D4Click() {}
void TfrmMain::cbZoneClick(QCheckBox*) {}
void TfrmMain::cbZone_RClick(QCheckBox*) {}
