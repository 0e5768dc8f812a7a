// Placeholder translation unit for a package library that has no sources yet.
