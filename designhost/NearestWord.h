// The "did you mean" of designhost's messages: the valid word nearest to a mistyped one, for a
// command, an option or a name a form gives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The candidate nearest to Word, or empty when none is near enough to be what was meant: the
// one candidate that Word begins ("new" for "new-demo"), else the one fewest edits away without
// regard to case (an adjacent swap is one edit), a few edits at most and never all of Word's
// letters changed.
std::string NearestWord(std::string_view Word, const std::vector<std::string>& Candidates);
