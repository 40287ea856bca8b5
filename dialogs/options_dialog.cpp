#include "dialogs/options_dialog.h"

#include <exception>

#include "platform/components/published.h"

namespace tv {

void TwTevrinBAVOptions::PublishOwn() {
  RegisterMethods(StaticClassInfo(),
                  {TV_METHOD(btSelectClick), TV_METHOD(btInfoClick), TV_METHOD(btDeleteLogClick)});
  RegisterFields(
      StaticClassInfo(),
      {TV_FIELD(btOk), TV_FIELD(btCancel), TV_FIELD(btInfo), TV_FIELD(dOpen), TV_FIELD(piVexal),
       TV_FIELD(pcOptions), TV_FIELD(tsOptions), TV_FIELD(tsLog), TV_FIELD(txScanExe), TV_FIELD(txOptions),
       TV_FIELD(txInfo1), TV_FIELD(txSaveError), TV_FIELD(edScanExe), TV_FIELD(edOptions), TV_FIELD(cbHide),
       TV_FIELD(btSelect), TV_FIELD(btDeleteLog), TV_FIELD(edLog)});
}

TwTevrinBAVOptions::TwTevrinBAVOptions(TComponent* owner) : TForm(owner) {}

void TwTevrinBAVOptions::Execute(TOptionsStore& store) {
  store_ = &store;
  struct TDetach {
    TOptionsStore*& store;
    ~TDetach() { store = nullptr; }
  } detach{store_};
  pcOptions->SetActivePage(tsOptions);
  const TOptionsValues values = store.Read();
  edScanExe->SetText(values.Scanner);
  cbHide->SetChecked(values.Hide);
  edOptions->SetText(values.Options);
  dOpen->SetInitialDir(store.StartDirectory());
  LoadLog();
  // Ok saves while the dialog is still open (CloseQuery), so that a failed
  // save can keep it open.
  ShowModal();
}

void TwTevrinBAVOptions::LoadLog() {
  edLog->Lines().Clear();
  if (!store_->LogExists()) return;
  try {
    std::string text;
    if (store_->ReadLog(text)) {
      edLog->Lines().SetText(text);
      return;
    }
  } catch (...) {
    // Whatever went wrong (a log too big for memory among it), the page
    // says so and the dialog goes on.
  }
  edLog->Lines().Clear();
  edLog->Lines().Add(kLogUnreadable);
}

bool TwTevrinBAVOptions::CloseQuery() {
  if (ModalResult() != mrOk || store_ == nullptr) return true;
  return Save();
}

bool TwTevrinBAVOptions::Save() {
  std::string failure;
  try {
    store_->Write({edScanExe->Text(), cbHide->Checked(), edOptions->Text()});
    txSaveError->SetVisible(false);
    return true;
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "unbekannter Fehler";
  }
  // In the dialog itself: a message box from inside the mail client would
  // be the only window of the plug-in that the user cannot read again.
  txSaveError->SetCaption(std::string(kSettingsNotSaved) + "\r\n" + failure);
  txSaveError->SetVisible(true);
  pcOptions->SetActivePage(tsOptions);
  return false;
}

void TwTevrinBAVOptions::btSelectClick(TObject*) {
  dOpen->SetFileName(edScanExe->Text());
  if (dOpen->Execute()) edScanExe->SetText(dOpen->FileName());
}

void TwTevrinBAVOptions::btInfoClick(TObject*) {
  piVexal->ShowAboutDialog();
}

void TwTevrinBAVOptions::btDeleteLogClick(TObject*) {
  if (store_ != nullptr && store_->LogExists()) store_->DeleteLog();
  edLog->Lines().Clear();
}

}  // namespace tv
