// Placeholder translation unit until the settings file lands.
