// Streaming registration of this layer's classes: controls, forms, timers, actions, pictures,
// with the published properties their descriptions use.

#include "platform/gui/ActnList.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Jpeg.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TypInfo.h"

void RegisterGuiClasses() {
  static bool done = false;
  if (done) return;
  done = true;

  RegisterControlClasses();
  RegisterComCtrlsClasses();
  RegisterDialogClasses();

  RegisterClass<TCustomForm, TWinControl>();
  RegisterClass<TForm, TCustomForm>();
  RegisterEnumNames<TFormStyle>({"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
  RegisterEnumNames<TFormBorderStyle>(
      {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  RegisterEnumNames<TBorderIcon>({"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  RegisterEnumNames<TPosition>({"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                "poOwnerFormCenter"});
  RegisterEnumNames<TWindowState>({"wsNormal", "wsMinimized", "wsMaximized"});
  Published<TCustomForm>()
      .Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
      .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
      .Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
      .Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
      .Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
      .Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(int(fsNormal))
      .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false)
      .Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
      .Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
      .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(int(poDesigned))
      .Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled)
      .Property("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
      .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(int(wsNormal))
      .Property("OnActivate", &TCustomForm::OnActivate)
      .Property("OnClose", &TCustomForm::OnClose)
      .Property("OnCloseQuery", &TCustomForm::OnCloseQuery)
      .Property("OnCreate", &TCustomForm::OnCreate)
      .Property("OnDeactivate", &TCustomForm::OnDeactivate)
      .Property("OnDestroy", &TCustomForm::OnDestroy)
      .Property("OnHide", &TCustomForm::OnHide)
      .Property("OnShow", &TCustomForm::OnShow);

  RegisterClass<TTimer, TComponent>();
  Published<TTimer>()
      .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true)
      .Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000)
      .Property("OnTimer", &TTimer::OnTimer);

  RegisterActionClasses();
  RegisterPictureClasses();
  RegisterJpegClasses();
  RegisterStdControlClasses();
  RegisterExtControlClasses();
  RegisterButtonClasses();
}

