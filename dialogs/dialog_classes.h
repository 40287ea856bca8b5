#pragma once
// The dialogs' classes and their stored forms, entered once by whoever
// shows or reads the dialogs (the plug-in's setup entry, the tools), so that
// a stored form finds every class it names and every form its description.
// Publishing a dialog class's members enters nothing: what a program can
// read is decided here, in one place.

namespace tv {

// Safe to call again and from several threads.
void RegisterDialogClasses();

}  // namespace tv
