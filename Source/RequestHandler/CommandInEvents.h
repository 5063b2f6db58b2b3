// In-events through which the page gives the library a command: leave, answer,
// mute, audio switches, the video window's size, layouts, device tests,
// bandwidth, self-view, the window list and the page's own meeting.
#pragma once

#include <cstdint>

#include "Json.h"
#include "TavmoClient.h"
#include "platform/Platform.h"

void InEventLeave(Json::Value& request);
void InEventCancel(Json::Value& request);
void InEventUnshare(Json::Value& request);
void InEventLoginCancel(Json::Value& request);
void InEventSignOff(Json::Value& request);
void InEventAnswer(Json::Value& request);
void InEventDecline(Json::Value& request);
void InEventStopPrecallTestSpeaker(Json::Value& request);
void PrivateInEventStartMyMeeting(Json::Value& request);
void InEventMuteAudioIn(Json::Value& request);
void InEventMuteAudioOut(Json::Value& request);
void InEventMuteVideo(Json::Value& request);
void InEventSetEchoDetection(Json::Value& request);
void InEventSetEchoCancellation(Json::Value& request);
void InEventSetAGC(Json::Value& request);
void InEventSetFreezeImage(Json::Value& request);
void InEventSetOffline(Json::Value& request);
void InEventResize(Json::Value& request);
void InEventParticipantsLimit(Json::Value& request);
void InEventLayout(Json::Value& request);
void InEventPrecallTestCamera(Json::Value& request);
void InEventPrecallTestMicrophone(Json::Value& request);
void InEventSetSendBandwidthLimit(Json::Value& request);
void EventPreview(Json::Value& request);
void InEventGetWindowsExt(Json::Value& request);
void PrivateInEventLayout(Json::Value& request);
void InEventToggleShare(Json::Value& request);

// The resize record for a video area of `width` by `height` at (x, y): the
// library wants the window's outer size, frame and menu bar included.
TavmoClientResizeInEvent resizeRecord(int32_t x, int32_t y, int32_t width, int32_t height,
                                      const platform::WindowFrame& frame);
