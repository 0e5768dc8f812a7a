// Error boxes of the design window.
#include "designhost/gui/ErrorMessage.h"

#include <iostream>

#include "host/rtl/SysUtils.h"
#include "host/visualclx/MessageDlg.h"

void ShowErrorMessage(const std::string& Message) {
  try {
    MessageDlg(Message, mtError, {mbOK}, 0);
  } catch (const std::exception& e) {
    std::cerr << "error: " << Message << '\n';
  }
}

void ShowCurrentError() {
  try {
    throw;
  } catch (const Exception& e) {
    ShowErrorMessage(e.Message());
  } catch (const std::exception& e) {
    ShowErrorMessage(e.what());
  } catch (...) {
    ShowErrorMessage("Unknown error");
  }
}

bool RunShowingErrors(const std::function<void()>& Action) {
  try {
    Action();
    return true;
  } catch (...) {
    ShowCurrentError();
    return false;
  }
}
