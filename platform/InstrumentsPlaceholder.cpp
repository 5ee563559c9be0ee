// Placeholder translation unit until the controls land.
