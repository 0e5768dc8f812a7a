// A detail and a master data set held in memory and a field link that keeps its values in
// itself and records every write: enough to run the Field Link Designer without a database.
#pragma once

#include "fldlinks/QVRLinkFields.h"
#include "tests/support/FieldLinks.h"

// The design package's start: the platform's classes and the designer's stored description.
extern "C" void Initialize();

namespace qttest {

// Orders(F1, F2, F3) through ByF (F1;F2;F3) or ByF2 (F2), master Customers(M1, M2, M3),
// stored link F1 -> M1.
struct TLinkSetup : fixtures::TLinkedPair {
  TLinkSetup() : TLinkedPair({"F1", "F2", "F3"}, {"M1", "M2", "M3"}) {
    Initialize();
    Link.Defs->Add("ByF", "F1;F2;F3", {});
    Link.Defs->Add("ByF2", "F2", {});
    Link.IndexFieldNames = "F1";
    Link.MasterFields = "M1";
  }
  bool Run() { return EditMasterFields(&Detail, &Link); }

  fixtures::TRecordingLink Link;
};

}  // namespace qttest
