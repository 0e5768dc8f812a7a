// Registration of the widget model's classes, so stored forms can name them.
#pragma once

// Registers the run-time library's classes and every class of this library that a stored
// form may name. Calling it again is harmless.
void RegisterVisualClasses();
