// Placeholder translation unit until the cycles land.
