#pragma once
// The editor control's playback pieces over DocumentPlayer: the OutputDevice sub-object (a
// software gain per editor) and the forwarding of the player's news to the control's events,
// with the control as sender.

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "audio/DocumentPlayer.h"

class TAudioEditor2OutputPart : public IAudioEditor2Output {
 public:
  explicit TAudioEditor2OutputPart(DocumentPlayer& player) : FPlayer(player) {}
  void SetVolume(int value) override { FPlayer.SetVolume(value); }

 private:
  DocumentPlayer& FPlayer;
};

// The events are looked up when the news arrives, so handlers bound later are called.
inline void ForwardPlayerEvents(DocumentPlayer& player, TObject* sender,
                                TAudioEditor2NotifyEvent& onChangePlayPosition,
                                TAudioEditor2MeterEvent& onMeter,
                                TAudioEditor2NotifyEvent& onEndPlay) {
  player.OnChangePlayPosition = [sender, &onChangePlayPosition] {
    if (onChangePlayPosition) onChangePlayPosition(sender);
  };
  player.OnMeter = [sender, &onMeter](int left, int right) {
    if (onMeter) onMeter(sender, left, right);
  };
  player.OnEndPlay = [sender, &onEndPlay] {
    if (onEndPlay) onEndPlay(sender);
  };
}
