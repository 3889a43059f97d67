// Placeholder until the Qt parameter dialogs land: no dialogs are registered,
// so every EditParam answers "not confirmed".
