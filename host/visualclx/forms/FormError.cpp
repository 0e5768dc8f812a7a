// The form reader's error.
#include "host/visualclx/forms/FormError.h"

void FormError(const std::string& FileName, int Line, const std::string& Message) {
  throw EFormError(FileName, Line, Message);
}
