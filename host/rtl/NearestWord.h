// The "did you mean" of the messages about a name that was not found: the valid word nearest
// to a mistyped one (a command, an option, a component, a property, a control of a window).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The candidate nearest to Word, or empty when none is near enough to be what was meant: the
// one candidate that Word begins ("new" for "new-demo"), else the one fewest edits away without
// regard to case (an adjacent swap is one edit), a few edits at most and never all of Word's
// letters changed.
std::string NearestWord(std::string_view Word, const std::vector<std::string>& Candidates);

// "; did you mean 'X'?" naming the candidate nearest to Word, or empty when none is near: the
// tail of a message about a name that was not found.
std::string DidYouMean(std::string_view Word, const std::vector<std::string>& Candidates);
