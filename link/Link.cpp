// Placeholder translation unit until the link lands.
