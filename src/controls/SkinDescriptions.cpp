// The description classes of a skin: one key table each, read and written by the same code.
#include <algorithm>

#include "controls/SkinData.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TKeywords {
  std::vector<std::string> Words;
  int Missing;
  int Unknown;
};

const TKeywords& Keywords(TspKeyKind Kind) {
  static const TKeywords stretch{{"stfull", "sthorz", "stvert"}, 0, 1};
  static const TKeywords morph{
      {"mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush"}, 0, 0};
  static const TKeywords effect{{"iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"}, 0, 2};
  static const TKeywords frames{{"fphorizontal", "fpvertical"}, 0, 1};
  static const TKeywords regulator{{"rkround", "rkhorizontal", "rkvertical"}, 0, 2};
  static const TKeywords gauge{{"gkhorizontal", "gkvertical"}, 0, 1};
  static const TKeywords command{
      {"cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup", "cmminimizetotray"}, 4, 6};
  switch (Kind) {
    case TspKeyKind::StretchKind: return stretch;
    case TspKeyKind::MorphKind: return morph;
    case TspKeyKind::ImageEffect: return effect;
    case TspKeyKind::FramesPlacement: return frames;
    case TspKeyKind::RegulatorKind: return regulator;
    case TspKeyKind::GaugeKind: return gauge;
    default: return command;
  }
}

bool IsKeyword(TspKeyKind k) {
  return k == TspKeyKind::StretchKind || k == TspKeyKind::MorphKind || k == TspKeyKind::ImageEffect ||
         k == TspKeyKind::FramesPlacement || k == TspKeyKind::RegulatorKind || k == TspKeyKind::GaugeKind ||
         k == TspKeyKind::CommandKind;
}

// Key lists written as "kind:key,key=default kind:..." with the kinds
// i integer, b Boolean, r rectangle, p point, s string, f font style, l line list, a alignment,
// k stretch kind, m morph kind, e image effect, F frames placement, R regulator kind,
// G gauge kind, C command kind.
std::vector<TspKeyDef> Keys(const std::string& Spec) {
  std::vector<TspKeyDef> out;
  size_t pos = 0;
  while (pos < Spec.size()) {
    size_t end = Spec.find(' ', pos);
    if (end == std::string::npos) end = Spec.size();
    std::string group = Spec.substr(pos, end - pos);
    pos = end + 1;
    if (group.empty()) continue;
    TspKeyKind kind;
    switch (group[0]) {
      case 'i': kind = TspKeyKind::Integer; break;
      case 'b': kind = TspKeyKind::Bool; break;
      case 'r': kind = TspKeyKind::Rect; break;
      case 'p': kind = TspKeyKind::Point; break;
      case 's': kind = TspKeyKind::String; break;
      case 'f': kind = TspKeyKind::FontStyle; break;
      case 'l': kind = TspKeyKind::Lines; break;
      case 'a': kind = TspKeyKind::Alignment; break;
      case 'k': kind = TspKeyKind::StretchKind; break;
      case 'm': kind = TspKeyKind::MorphKind; break;
      case 'e': kind = TspKeyKind::ImageEffect; break;
      case 'F': kind = TspKeyKind::FramesPlacement; break;
      case 'R': kind = TspKeyKind::RegulatorKind; break;
      case 'G': kind = TspKeyKind::GaugeKind; break;
      default: kind = TspKeyKind::CommandKind; break;
    }
    std::string list = group.substr(2);
    size_t p = 0;
    while (p <= list.size()) {
      size_t comma = list.find(',', p);
      if (comma == std::string::npos) comma = list.size();
      std::string item = list.substr(p, comma - p);
      p = comma + 1;
      if (item.empty()) continue;
      TspKeyDef def;
      size_t eq = item.find('=');
      def.Key = item.substr(0, eq);
      def.Kind = kind;
      if (eq != std::string::npos) {
        std::string v = item.substr(eq + 1);
        if (kind == TspKeyKind::String) {
          def.StrDefault = v;
        } else {
          def.IntDefault = StrToInt(v);
        }
      }
      if (kind == TspKeyKind::Alignment) def.IntDefault = 2;
      out.push_back(def);
    }
  }
  return out;
}

using TClassMap = std::map<std::string, std::unique_ptr<TspDescClass>>;

TClassMap& Classes() {
  static TClassMap map;
  return map;
}

const TspDescClass* Define(const std::string& Name, const TspDescClass* Base, const std::string& Spec,
                           std::function<void(TspDataSkinDescription&)> After = nullptr, bool SkipBase = false) {
  auto c = std::make_unique<TspDescClass>();
  c->ClassName = Name;
  c->Base = Base;
  c->Keys = Keys(Spec);
  c->AfterRead = std::move(After);
  c->SkipBaseKeys = SkipBase;
  const TspDescClass* raw = c.get();
  Classes()[Name] = std::move(c);
  return raw;
}

const std::string kFont = "s:fontname=Arial i:fontheight=14 f:fontstyle";

struct TTables {
  std::vector<std::pair<std::string, const TspDescClass*>> Controls, Objects;
  TTables();
};

TTables::TTables() {
  // Controls.
  auto* control = Define("TspDataSkinControl", nullptr,
                         "i:pictureindex=-1,maskpictureindex=-1,cursorindex=-1 r:skinrect");
  auto* custom = Define("TspDataSkinCustomControl", control,
                        "p:lefttoppoint,righttoppoint,leftbottompoint,rightbottompoint r:clientrect "
                        "b:leftstretch,topstretch,rightstretch,bottomstretch,stretcheffect k:stretchtype");
  auto* frame = Define("TspDataSkinFrameControl", control, "i:framescount=1 F:framesplacement",
                       [](TspDataSkinDescription& d) {
                         if (d.Int("framescount") < 1) d.SetInt("framescount", 1);
                       });
  auto* button = Define("TspDataSkinButtonControl", custom,
                        kFont + " i:animateinterval=25,glowlayerpictureindex=-1,glowlayermaskpictureindex=-1,"
                                "glowlayeralphablendvalue=255 "
                                "i:fontcolor,activefontcolor,disabledfontcolor,downfontcolor,framecount,"
                                "menumarkertransparentcolor,glowlayeroffsetleft,glowlayeroffsettop,"
                                "glowlayeroffsetright,glowlayeroffsetbottom,glowlayershowoffsetx,glowlayershowoffsety "
                                "b:morphing,showfocus m:morphkind "
                                "r:activeskinrect,downskinrect,focusedskinrect,disabledskinrect,animateskinrect,"
                                "menumarkerflatrect,menumarkerrect,menumarkeractiverect,menumarkerdownrect");
  auto* edit = Define("TspDataSkinEditControl", custom,
                      "r:activeskinrect,buttonrect,activebuttonrect,downbuttonrect,unenabledbuttonrect " + kFont +
                          " i:fontcolor,disabledfontcolor,activefontcolor");
  auto* listbox = Define(
      "TspDataSkinListBox", custom,
      "r:itemrect,activeitemrect,focusitemrect,itemtextrect,captionrect,upbuttonrect,activeupbuttonrect,"
      "downupbuttonrect,downbuttonrect,activedownbuttonrect,downdownbuttonrect,checkbuttonrect,"
      "activecheckbuttonrect,downcheckbuttonrect,disabledbuttonsrect,buttonsarea "
      "i:itemleftoffset,itemrightoffset,fontcolor,activefontcolor,focusfontcolor,captionfontcolor "
      "s:fontname=Arial,captionfontname=Arial,vscrollbarname=vscrollbar,hscrollbarname=hscrollbar,"
      "bothhscrollbarname=bothhscrollbar i:fontheight=14,captionfontheight=14 f:fontstyle,captionfontstyle "
      "b:showfocus");
  const std::string plainFont = kFont + " i:fontcolor,bgcolor";
  auto& c = Controls;
  c = {
      {"slider", Define("TspDataSkinSlider", control,
                        "i:bgcolor,edgesize,pointscolor r:hrulerrect,hthumbrect,vrulerrect,vthumbrect")},
      {"bevel", Define("TspDataSkinBevel", control, "i:lightcolor,darkcolor")},
      {"panel", Define("TspDataSkinPanelControl", custom,
                       "i:bgpictureindex=-1,fontheight=14 r:captionrect,checkimagerect,uncheckimagerect,"
                       "markframerect,framerect,frametextrect,gripperrect a:alignment s:fontname=Arial f:fontstyle "
                       "i:fontcolor,frameleftoffset,framerightoffset,grippertransparentcolor b:grippertransparent")},
      {"expanel",
       Define("TspDataSkinExPanelControl", custom,
              "r:rollhskinrect,rollvskinrect,rollvcaptionrect,rollhcaptionrect,closebuttonrect,closebuttonactiverect,"
              "closebuttondownrect,hrollbuttonrect,hrollbuttonactiverect,hrollbuttondownrect,hrestorebuttonrect,"
              "hrestorebuttonactiverect,hrestorebuttondownrect,vrollbuttonrect,vrollbuttonactiverect,"
              "vrollbuttondownrect,vrestorebuttonrect,vrestorebuttonactiverect,vrestorebuttondownrect,captionrect "
              "i:rollleftoffset,rollrightoffset,rolltopoffset,rollbottomoffset,fontcolor,buttonstransparentcolor "
              "s:fontname=Arial i:fontheight=14 f:fontstyle b:buttonstransparent")},
      {"menubutton", Define("TspDataSkinMenuButtonControl", button, "r:trackbuttonrect")},
      {"button", button},
      {"checkradio",
       Define("TspDataSkinCheckRadioControl", custom,
              kFont + " i:fontcolor,activefontcolor,unenabledfontcolor,framefontcolor b:morphing m:morphkind "
                      "r:activeskinrect,checkimagearea,textarea,checkimagerect,uncheckimagerect,activecheckimagerect,"
                      "activeuncheckimagerect,unenabledcheckimagerect,unenableduncheckimagerect,"
                      "grayedcheckimagerect,activegrayedcheckimagerect")},
      {"gauge", Define("TspDataSkinGaugeControl", custom,
                       "r:progressarea,progressrect,animationskinrect,progressanimationskinrect "
                       "i:beginoffset,endoffset,fontcolor,progresstransparentcolor,animationcountframes,"
                       "animationtimerinterval,progressanimationcountframes,progressanimationtimerinterval,"
                       "animationbeginoffset,animationendoffset b:vertical,progresstransparent,progressstretch " +
                           kFont)},
      {"splitter", Define("TspDataSkinSplitterControl", custom,
                          "r:gripperrect b:grippertransparent i:grippertransparentcolor")},
      {"trackbar", Define("TspDataSkinTrackBarControl", custom,
                          "r:activeskinrect,trackarea,buttonrect,activebuttonrect b:vertical,buttontransparent "
                          "i:buttontransparentcolor")},
      {"label", Define("TspDataSkinLabelControl", custom, kFont + " i:fontcolor")},
      {"stdlabel", Define("TspDataSkinStdLabelControl", control, kFont + " i:activefontcolor=16711680 i:fontcolor")},
      {"bitlabel", Define("TspDataSkinBitLabelControl", custom, "r:skintextrect i:symbolwidth,symbolheight l:symbols")},
      {"frameregulator", Define("TspDataSkinFrameRegulator", frame, "R:kind")},
      {"framegauge", Define("TspDataSkinFrameGauge", frame, "")},
      {"animate", Define("TspDataSkinAnimateControl", frame, "")},
      {"updown", Define("TspDataSkinUpDownControl", custom,
                        "r:upbuttonrect,activeupbuttonrect,downupbuttonrect,downbuttonrect,activedownbuttonrect,"
                        "downdownbuttonrect",
                        [](TspDataSkinDescription& d) {
                          // An up-down face is never stretched in nine parts.
                          for (const char* k : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"})
                            d.SetPoint(k, TPoint());
                          d.SetRect("clientrect", TRect());
                        })},
      {"switch", Define("TspDataSkinSwitchControl", frame, "")},
      {"grid", Define("TspDataSkinGridControl", control,
                      "r:fixedcellrect,selectcellrect,focuscellrect,fixedcelltextrect,celltextrect "
                      "i:fixedcellleftoffset,fixedcellrightoffset,cellleftoffset,cellrightoffset,linescolor,bgcolor,"
                      "fontcolor,selectfontcolor,focusfontcolor,fixedfontcolor "
                      "i:bgpictureindex=-1,fontheight=14,fixedfontheight=14 s:fontname=Arial,fixedfontname=Arial "
                      "f:fontstyle,fixedfontstyle b:cellstretcheffect,fixedcellstretcheffect,showfocus")},
      {"tab", Define("TspDataSkinTabControl", control,
                     "r:tabrect,activetabrect,focustabrect,mouseintabrect,clientrect,tabsbgrect,closebuttonrect,"
                     "closebuttonactiverect,closebuttondownrect,tableftbottomactiverect,tableftbottomfocusrect "
                     "i:bgpictureindex=-1,fontheight=14 p:lefttoppoint,righttoppoint,leftbottompoint,rightbottompoint "
                     "i:tableftoffset,tabrightoffset,fontcolor,activefontcolor,focusfontcolor,mouseinfontcolor,"
                     "focusoffsetx,focusoffsety,buttontransparentcolor "
                     "b:tabstretcheffect,leftstretch,topstretch,rightstretch,bottomstretch,stretcheffect,showfocus,"
                     "buttontransparent k:stretchtype s:fontname=Arial f:fontstyle s:updown")},
      {"mainmenubar", Define("TspDataSkinMainMenuBar", control,
                             "r:itemsrect s:menubaritem,closebutton,minbutton,maxbutton,sysmenubutton "
                             "i:trackmarkcolor,trackmarkactivecolor b:stretcheffect,itemtransparent")},
      {"controlbar", Define("TspDataSkinControlBar", custom,
                            "r:itemrect,hgriprect,vgriprect i:bgpictureindex=-1,itemoffset1=3,itemoffset2=3 "
                            "i:gripoffset1,gripoffset2,itemtransparentcolor,griptransparentcolor "
                            "b:itemstretcheffect,itemtransparent,griptransparent")},
      {"memo", Define("TspDataSkinMemoControl", edit, "i:bgcolor,activebgcolor")},
      {"edit", edit},
      {"checklistbox", Define("TspDataSkinCheckListBox", listbox, "r:checkimagerect,itemcheckrect,uncheckimagerect")},
      {"listbox", listbox},
      {"combobox", Define("TspDataSkinComboBox", custom,
                          "r:activeskinrect,itemrect,activeitemrect,focusitemrect,itemtextrect,buttonrect,"
                          "activebuttonrect,downbuttonrect,unenabledbuttonrect "
                          "i:itemleftoffset,itemrightoffset,fontcolor,focusfontcolor,activefontcolor " +
                              kFont + " s:listboxname b:itemstretcheffect,focusitemstretcheffect,showfocus")},
      {"scrollbar", Define("TspDataSkinScrollBarControl", custom,
                           "r:trackarea,upbuttonrect,activeupbuttonrect,downupbuttonrect,downbuttonrect,"
                           "activedownbuttonrect,downdownbuttonrect,thumbrect,activethumbrect,downthumbrect,glyphrect,"
                           "activeglyphrect,downglyphrect i:thumboffset1,thumboffset2,thumbtransparentcolor,"
                           "thumbminsize,thumbminpagesize,glyphtransparentcolor "
                           "b:thumbtransparent,thumbstretcheffect,glyphtransparent")},
      {"spinedit", Define("TspDataSkinSpinEditControl", custom,
                          "r:activeskinrect,upbuttonrect,activeupbuttonrect,downupbuttonrect,downbuttonrect,"
                          "activedownbuttonrect,downdownbuttonrect " +
                              kFont + " i:fontcolor,activefontcolor,disabledfontcolor")},
      {"scrollbox", Define("TspDataSkinScrollBoxControl", custom, "i:bgpictureindex=-1")},
      {"treeview", Define("TspDataSkinTreeView", control, plainFont + " r:expandimagerect,noexpandimagerect")},
      {"listview", Define("TspDataSkinListView", control, plainFont)},
      {"richedit", Define("TspDataSkinRichEdit", control, plainFont)},
  };

  // Window objects.
  auto* object = Define("TspDataSkinObject", nullptr,
                        "s:hint b:rollup,skinrectinapicture,morphing "
                        "i:activepictureindex=-1,activemaskpictureindex=-1,cursorindex=-1,glowlayerpictureindex=-1,"
                        "glowlayermaskpictureindex=-1,glowlayeralphablendvalue=255,glowlayeroffsetx,glowlayeroffsety "
                        "r:skinrect,activeskinrect,inactiveskinrect m:morphkind");
  auto restoreHint = [](TspDataSkinDescription& d) {
    if (!d.Str("restorehint").empty()) return;
    std::string hint = d.Str("hint");
    int cmd = d.Int("command");
    if ((hint == "Maximize" && cmd == 1) || (hint == "Minimize" && cmd == 2) ||
        ((hint == "RollUp" || hint == "Roll Up") && cmd == 5))
      d.SetStr("restorehint", "Restore");
  };
  const std::string menuFont = kFont + " i:animateinterval=25";
  auto* objButton = Define("TspDataSkinButton", object,
                           "r:downrect,disableskinrsect i:groupindex=-1,alphamaskpictureindex=-1,"
                           "alphamaskactivepictureindex=-1,alphamaskinactivepictureindex=-1");
  auto* stdButton = Define("TspDataSkinStdButton", objButton,
                           "C:command r:restorerect,restoreactiverect,restoredownrect,restoreinactiverect s:restorehint",
                           restoreHint);
  auto* mainMenuItem =
      Define("TspDataSkinMainMenuItem", object,
             "i:itemleftoffset,itemrightoffset,fontcolor,activefontcolor,downfontcolor,unenabledfontcolor,framecount "
             "r:downrect,textrect,animateskinrect " +
                 menuFont + " b:stretcheffect,inactiveanimation");
  const std::string captionButtonKeys =
      kFont + " i:fontcolor,activefontcolor,downfontcolor,%inactive%topposition i:leftoffset=10,rightoffset=10 "
              "r:clientrect";
  auto captionKeys = [&](bool inactive) {
    std::string s = captionButtonKeys;
    s.replace(s.find("%inactive%"), 10, inactive ? "inactivefontcolor," : "");
    return s;
  };
  auto notMorphing = [](TspDataSkinDescription& d) { d.SetInt("morphing", 0); };
  auto& o = Objects;
  o = {
      {"menuitem",
       Define("TspDataSkinMenuItem", object,
              "i:itemleftoffset,itemrightoffset,dividerleftoffset,dividerrightoffset,fontcolor,activefontcolor,"
              "unenabledfontcolor,framecount,imagecolor,activeimagecolor "
              "r:dividerrect,textrect,imagerect,animateskinrect,checkimagerect,activecheckimagerect,radioimagerect,"
              "activeradioimagerect,arrowimagerect,activearrowimagerect " +
                  menuFont +
                  " b:stretcheffect,inactivestretcheffect,dividerstretcheffect,inactiveanimation,useimagecolor,"
                  "inactivetransparent",
              [](TspDataSkinDescription& d) {
                for (const char* k : {"check", "radio", "arrow"}) {
                  std::string active = std::string("active") + k + "imagerect", plain = std::string(k) + "imagerect";
                  if (IsNullRect(d.Rect(active))) d.SetRect(active, d.Rect(plain));
                }
              })},
      {"mainmenubaritem", Define("TspDataSkinMainMenuBarItem", mainMenuItem, "")},
      {"mainmenuitem", mainMenuItem},
      {"captionmenubutton", Define("TspDataSkinCaptionMenuButton", objButton, captionKeys(true))},
      {"captiontab", Define("TspDataSkinCaptionTab", objButton, captionKeys(false))},
      {"stdbutton", stdButton},
      {"mainmenubarbutton", Define("TspDataSkinMainMenuBarButton", stdButton, "", restoreHint)},
      {"button", objButton},
      {"caption",
       Define("TspDataSkinCaption", object,
              "b:defaultcaption,shadow,light,stretcheffect,inactiveanimation,fullframe,vistagloweffect,"
              "vistaglowinactiveeffect,gloweffect,glowinactiveeffect,reflectioneffect,dividertransparent "
              "r:textrect,framerect,activeframerect,frametextrect,animateskinrect,dividerrect,inactivedividerrect " +
                  kFont +
                  " i:animateinterval=25,glowsize=3,quickbuttonalphamaskpictureindex=-1 "
                  "i:fontcolor,activefontcolor,shadowcolor,lightcolor,activelightcolor,activeshadowcolor,"
                  "frameleftoffset,framerightoffset,framecount,glowcolor,glowactivecolor,glowoffset,reflactioncolor,"
                  "reflactionactivecolor,reflectionoffset,dividertransparentcolor a:alignment")},
      {"trackbar", Define("TspDataSkinTrackBar", object,
                          "r:buttonrect,activebuttonrect p:beginpoint,endpoint "
                          "i:minvalue,maxvalue,buttontransparentcolor b:mousedownchangevalue,buttontransparent",
                          notMorphing)},
      {"gauge", Define("TspDataSkinGauge", object, "i:minvalue,maxvalue G:kind")},
      {"framegauge",
       Define("TspDataSkinFrameGaugeObject", object, "i:minvalue,maxvalue,countframes F:framesplacement")},
      {"frameregulator", Define("TspDataSkinFrameRegulatorObject", object,
                                "i:minvalue,maxvalue,countframes F:framesplacement R:kind")},
      {"label", Define("TspDataSkinLabel", object, kFont + " i:fontcolor,activefontcolor a:alignment s:textvalue")},
      {"bitlabel", Define("TspDataSkinBitLabel", object,
                          "s:textvalue i:symbolwidth,symbolheight l:symbols b:transparent i:transparentcolor=16711935")},
      {"switch", Define("TspDataSkinSwitch", object, "")},
      {"animate", Define("TspDataSkinAnimate", object,
                         "i:countframes=1,timerinterval=50 b:cycle,buttonstyle C:command "
                         "r:downskinrect,restorerect,restoreactiverect,restoredownrect,restoreinactiverect s:restorehint",
                         [restoreHint](TspDataSkinDescription& d) {
                           d.SetInt("morphing", 0);
                           restoreHint(d);
                         })},
      {"userobject", Define("TspDataUserObject", object, "b:rollup r:skinrect i:cursorindex=-1", nullptr, true)},
  };

  // Windows and the form information.
  const std::string corners = "p:lefttoppoint,righttoppoint,leftbottompoint,rightbottompoint ";
  const std::string stretch = "b:leftstretch,rightstretch,topstretch,bottomstretch,stretcheffect k:stretchtype";
  Define("TspDataSkinPopupWindow", nullptr,
         "i:windowpictureindex=-1,maskpictureindex=-1,cursorindex=-1 " + corners +
             "r:itemsrect i:scrollmarkercolor,scrollmarkeractivecolor " + stretch);
  Define("TspDataSkinHintWindow", nullptr,
         "i:windowpictureindex=-1,maskpictureindex=-1 " + corners + "r:clientrect " + kFont + " i:fontcolor " + stretch);
  Define("TspDataSkinLayerFrame", nullptr,
         "i:pictureindex=-1,maskpictureindex=-1,inactivepictureindex=-1,inactivemaskpictureindex=-1,"
         "blurmaskpictureindex=-1 i:alphablendvalue=255,inactivealphablendvalue=255 " +
             corners +
             "p:hittestlefttoppoint,hittestrighttoppoint,hittestleftbottompoint,hittestrightbottompoint "
             "r:clientrect,borderrect,captionrect,buttonsrect,sysmenubuttonrect,intersectblurmaskrect,"
             "excludeblurmaskrect b:hittestenable,fullborder,fullstretch "
             "i:hittestsize,rollupformheight,buttonstopoffset,sysbuttontopoffset,leftoffset,topoffset,widthoffset,"
             "heightoffset");
  // FORMINFO, in reading order; its fix-ups live with the container.
  Define("TspFormInfo", nullptr,
         corners +
             "r:clientrect i:bgpictureindex=-1,mdibgpictureindex=-1 "
             "b:leftstretch,rightstretch,topstretch,bottomstretch,stretcheffect k:stretchtype b:mdibgstretcheffect "
             "k:mdibgstretchtype r:buttonsrect,captionrect i:buttonsoffset b:buttonsinleft r:maskrectarea "
             "p:hittestlefttoppoint,hittestrighttoppoint,hittestleftbottompoint,hittestrightbottompoint "
             "p:rollupleftpoint,rolluprightpoint r:mainmenurect,iconrect b:mainmenupopupup "
             "i:borderwidth,formminwidth,formminheight b:mditabstransparent,mainmenubartransparent "
             "i:cursorindex=-1 b:autorenderinginactiveimage e:inactiveeffect r:sizegriparea s:statusbarname");
}

const TTables& Tables() {
  static TTables tables;
  return tables;
}

}  // namespace

int ReadSkinKeyword(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, TspKeyKind Kind) {
  const TKeywords& k = Keywords(Kind);
  if (!Ini->ValueExists(Section, Key)) return k.Missing;
  std::string v = Ini->ReadString(Section, Key, "");
  for (size_t i = 0; i < k.Words.size(); ++i)
    if (k.Words[i] == v) return int(i);
  return k.Unknown;
}

std::string SkinKeywordText(TspKeyKind Kind, int Value) {
  const TKeywords& k = Keywords(Kind);
  if (Value >= 0 && Value < int(k.Words.size())) return k.Words[size_t(Value)];
  return k.Words[size_t(std::clamp(k.Unknown, 0, int(k.Words.size()) - 1))];
}

int ReadStretchKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  return ReadSkinKeyword(Ini, Section, Key, TspKeyKind::StretchKind);
}
int ReadMorphKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  return ReadSkinKeyword(Ini, Section, Key, TspKeyKind::MorphKind);
}
int ReadImageEffect(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  return ReadSkinKeyword(Ini, Section, Key, TspKeyKind::ImageEffect);
}
void WriteStretchKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, int Value) {
  Ini->WriteString(Section, Key, SkinKeywordText(TspKeyKind::StretchKind, Value));
}
void WriteMorphKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, int Value) {
  Ini->WriteString(Section, Key, SkinKeywordText(TspKeyKind::MorphKind, Value));
}

const std::vector<std::pair<std::string, const TspDescClass*>>& SkinControlTypes() { return Tables().Controls; }
const std::vector<std::pair<std::string, const TspDescClass*>>& SkinObjectTypes() { return Tables().Objects; }

const TspDescClass* FindSkinDescClass(const std::string& ClassName) {
  Tables();
  auto it = Classes().find(ClassName);
  return it == Classes().end() ? nullptr : it->second.get();
}

// ---- TspDataSkinDescription

TspDataSkinDescription::TspDataSkinDescription(const TspDescClass* Class, std::string SectionName)
    : FClass(Class), FSectionName(std::move(SectionName)) {
  for (const TspKeyDef* k : AllKeys()) {
    TspKeyValue& v = FValues[k->Key];
    v.Int = k->IntDefault;
    v.Str = k->StrDefault;
  }
}

bool TspDataSkinDescription::InheritsFrom(const std::string& ClassName) const {
  for (const TspDescClass* c = FClass; c; c = c->Base)
    if (c->ClassName == ClassName) return true;
  return false;
}

std::vector<const TspKeyDef*> TspDataSkinDescription::AllKeys() const {
  std::vector<const TspDescClass*> chain;
  for (const TspDescClass* c = FClass; c; c = c->SkipBaseKeys ? nullptr : c->Base) chain.push_back(c);
  std::vector<const TspKeyDef*> keys;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TspKeyDef& k : (*it)->Keys) keys.push_back(&k);
  return keys;
}

void TspDataSkinDescription::ReadDescription(TCustomIniFile* Ini) {
  const std::string& s = FSectionName;
  for (const TspKeyDef* k : AllKeys()) {
    TspKeyValue& v = FValues[k->Key];
    switch (k->Kind) {
      case TspKeyKind::Integer: v.Int = Ini->ReadInteger(s, k->Key, k->IntDefault); break;
      case TspKeyKind::Bool: v.Int = ReadSkinBool(Ini, s, k->Key) ? 1 : 0; break;
      case TspKeyKind::Rect: v.Rect = ReadSkinRect(Ini, s, k->Key); break;
      case TspKeyKind::Point: v.Point = ReadSkinPoint(Ini, s, k->Key); break;
      case TspKeyKind::String: v.Str = Ini->ReadString(s, k->Key, k->StrDefault); break;
      case TspKeyKind::FontStyle: v.Style = ReadSkinFontStyle(Ini, s, k->Key); break;
      case TspKeyKind::Alignment: v.Int = ReadSkinAlignment(Ini, s, k->Key); break;
      case TspKeyKind::Lines: {
        TStringList list;
        ReadSkinLines(Ini, s, k->Key, &list);
        v.Lines.clear();
        for (int i = 0; i < list.Count(); ++i) v.Lines.push_back(list.Strings(i));
        break;
      }
      default: v.Int = ReadSkinKeyword(Ini, s, k->Key, k->Kind); break;
    }
  }
  for (const TspDescClass* c = FClass; c; c = c->Base)
    if (c->AfterRead) c->AfterRead(*this);
}

void TspDataSkinDescription::WriteDescription(TCustomIniFile* Ini) {
  const std::string& s = FSectionName;
  Ini->EraseSection(s);
  for (const TspKeyDef* k : AllKeys()) {
    const TspKeyValue& v = FValues[k->Key];
    switch (k->Kind) {
      case TspKeyKind::Integer: Ini->WriteInteger(s, k->Key, v.Int); break;
      case TspKeyKind::Bool: WriteSkinBool(Ini, s, k->Key, v.Int != 0); break;
      case TspKeyKind::Rect: WriteSkinRect(Ini, s, k->Key, v.Rect); break;
      case TspKeyKind::Point: WriteSkinPoint(Ini, s, k->Key, v.Point); break;
      case TspKeyKind::String: Ini->WriteString(s, k->Key, v.Str); break;
      case TspKeyKind::FontStyle: WriteSkinFontStyle(Ini, s, k->Key, v.Style); break;
      case TspKeyKind::Alignment: WriteSkinAlignment(Ini, s, k->Key, v.Int); break;
      case TspKeyKind::Lines: {
        TStringList list;
        for (const auto& line : v.Lines) list.Add(line);
        WriteSkinLines(Ini, s, k->Key, &list);
        break;
      }
      default: Ini->WriteString(s, k->Key, SkinKeywordText(k->Kind, v.Int)); break;
    }
  }
}

int TspDataSkinDescription::Int(const std::string& Key) const {
  auto it = FValues.find(Key);
  return it == FValues.end() ? 0 : it->second.Int;
}
TRect TspDataSkinDescription::Rect(const std::string& Key) const {
  auto it = FValues.find(Key);
  return it == FValues.end() ? TRect() : it->second.Rect;
}
TPoint TspDataSkinDescription::Point(const std::string& Key) const {
  auto it = FValues.find(Key);
  return it == FValues.end() ? TPoint() : it->second.Point;
}
std::string TspDataSkinDescription::Str(const std::string& Key) const {
  auto it = FValues.find(Key);
  return it == FValues.end() ? std::string() : it->second.Str;
}
TFontStyles TspDataSkinDescription::Style(const std::string& Key) const {
  auto it = FValues.find(Key);
  return it == FValues.end() ? TFontStyles() : it->second.Style;
}
const std::vector<std::string>& TspDataSkinDescription::Lines(const std::string& Key) const {
  static const std::vector<std::string> none;
  auto it = FValues.find(Key);
  return it == FValues.end() ? none : it->second.Lines;
}

// ---- objects

TspDataSkinObject::~TspDataSkinObject() = default;

TspBitmap* TspDataSkinObject::Image(const std::string& Name) const {
  auto it = FImages.find(Name);
  return it == FImages.end() ? nullptr : it->second.get();
}

void TspDataSkinObject::MakeAlphaImage(TspSkinData* Data, const std::string& Name, const std::string& RectKey,
                                       const std::string& MaskKey) {
  FImages.erase(Name);
  TRect r = Rect(RectKey);
  TBitmap* picture = Data->PictureAt(Int("activepictureindex"));
  if (IsNullRect(r) || !picture) return;
  auto image = std::make_unique<TspBitmap>();
  image->SetSize(r.Width(), r.Height());
  BitBlt(image->DC(), 0, 0, r.Width(), r.Height(), picture->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
  TBitmap* mask = Data->PictureAt(Int(MaskKey));
  if (!mask) {
    image->SetAlpha(255);
  } else {
    TspBitmap m;
    m.SetSize(r.Width(), r.Height());
    BitBlt(m.DC(), 0, 0, r.Width(), r.Height(), mask->Canvas()->Handle(), 0, 0, SRCCOPY);
    spAlphaFromMaskPremultiplied(image.get(), &m);
  }
  image->CheckAlpha();
  FImages[Name] = std::move(image);
}

void TspDataSkinObject::BindImages(TspSkinData* Data) {
  if (!InheritsFrom("TspDataSkinButton")) return;
  const std::string& cls = ClassName();
  if (cls == "TspDataSkinCaptionTab") {
    MakeAlphaImage(Data, "normal", "skinrect", "alphamaskinactivepictureindex");
    MakeAlphaImage(Data, "active", "activeskinrect", "alphamaskactivepictureindex");
    MakeAlphaImage(Data, "down", "downrect", "alphamaskpictureindex");
    return;
  }
  bool layered = Data->LayerFrame()->Int("pictureindex") != -1 && Data->LayerFrame()->Bool("fullborder");
  bool always = cls == "TspDataSkinCaptionMenuButton";
  if (!layered && !always) {
    FImages.clear();
    return;
  }
  MakeAlphaImage(Data, "normal", "skinrect", "alphamaskpictureindex");
  MakeAlphaImage(Data, "active", "activeskinrect", "alphamaskactivepictureindex");
  MakeAlphaImage(Data, "down", "downrect", "alphamaskactivepictureindex");
  MakeAlphaImage(Data, "inactive", "inactiveskinrect", "alphamaskinactivepictureindex");
  if (InheritsFrom("TspDataSkinStdButton")) {
    MakeAlphaImage(Data, "restore", "restorerect", "alphamaskpictureindex");
    MakeAlphaImage(Data, "restoreactive", "restoreactiverect", "alphamaskactivepictureindex");
    MakeAlphaImage(Data, "restoredown", "restoredownrect", "alphamaskactivepictureindex");
    MakeAlphaImage(Data, "restoreinactive", "restoreinactiverect", "alphamaskinactivepictureindex");
  }
}

// ---- windows

TspDataSkinWindow::TspDataSkinWindow(const TspDescClass* Class, std::string Section)
    : TspDataSkinDescription(Class, std::move(Section)) {}

void TspDataSkinWindow::Reset() {
  for (const TspKeyDef* k : AllKeys())
    if (k->Key.find("pictureindex") != std::string::npos) SetInt(k->Key, -1);
}

TspDataSkinLayerFrame::TspDataSkinLayerFrame()
    : TspDataSkinWindow(FindSkinDescClass("TspDataSkinLayerFrame"), "LAYERFRAME") {}

void TspDataSkinLayerFrame::BindFrameImages(TspSkinData* Data) {
  FActive.reset();
  FInactive.reset();
  auto make = [&](const char* pictureKey, const char* maskKey) -> std::unique_ptr<TspBitmap> {
    TBitmap* picture = Data->PictureAt(Int(pictureKey));
    TBitmap* mask = Data->PictureAt(Int(maskKey));
    if (!picture || !mask) return nullptr;
    auto image = std::make_unique<TspBitmap>();
    image->Assign(picture);
    TspBitmap m;
    m.Assign(mask);
    spAlphaFromMask(image.get(), &m);
    image->CheckAlpha();
    return image;
  };
  FActive = make("pictureindex", "maskpictureindex");
  FInactive = make("inactivepictureindex", "inactivemaskpictureindex");
}
