#include "MeetingFlows.h"

#include <chrono>
#include <memory>
#include <string>

#include "OutEvents.h"
#include "PortalAnswers.h"
#include "RecordText.h"
#include "SimulatedConference.h"
#include "TavmoClient.h"

namespace standin {
namespace {

// Source types of the participant source events.
constexpr int32_t kAudioSource = 1;
constexpr int32_t kVideoSource = 2;
constexpr int32_t kShareSource = 3;
constexpr const char* kMicrophoneSource = "Microphone";

// Media commands: what the moderator does to everybody's media.
constexpr int32_t kStopMedia = 1;
constexpr int32_t kStartMedia = 2;
constexpr int32_t kAudioMedia = 1;
constexpr int32_t kFromMicrophone = 1;

constexpr int32_t kStageShared = 2;
constexpr int32_t kCpuNormal = 0;
constexpr int32_t kCpuHigh = 1;

class Meeting {
public:
    Meeting(LibraryState& state, Script& script)
        : conference_(state.conference), planned_(state.conference.planned), script_(script) {}

    void callState(int32_t callState) {
        planned_.callState = callState;
        TavmoClientCallStateEvent event{};
        event.callState = callState;
        script_.raise(TAVMO_CLIENT_OUT_EVENT_CALL_STATE, event);
    }

    void progress(uint32_t steps, const std::string& caption) {
        TavmoClientProgressEvent event{};
        event.numProgressSteps = steps;
        setText(event.caption, caption);
        script_.raise(out::kJoinProgress, event);
    }

    void portalAnswer(Block answer) { script_.raiseBlock(TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP, std::move(answer)); }

    void source(int32_t code, std::size_t who, int32_t sourceType, const std::string& sourceName) {
        TavmoClientParticipantSourceEvent event{};
        event.sourceType = sourceType;
        setText(event.participantURI, kConferenceParticipants[who].uri);
        setText(event.displayName, shownName(conference_, who));
        setText(event.sourceName, sourceName);
        script_.raise(code, event);
    }

    void count() {
        TavmoClientCountEvent event{};
        event.count = static_cast<int32_t>(planned_.present().size());
        script_.raise(out::kParticipantCount, event);
    }

    void arrive(std::size_t who) {
        Presence& presence = planned_.participants[who];
        presence.present = true;
        presence.audio = true;
        source(out::kSourceAdded, who, kAudioSource, kMicrophoneSource);
        presence.video = true;
        source(out::kSourceAdded, who, kVideoSource, kConferenceParticipants[who].camera);
        count();
    }

    void uri() {
        TavmoClientUriEvent event{};
        setText(event.URI, kRoomUrl);
        script_.raise(out::kJoinedUri, event);
    }

    void share(std::size_t who) {
        planned_.participants[who].sharing = true;
        source(out::kSourceAdded, who, kShareSource, kSharedSlides);
        TavmoClientPresenterEvent presenter{};
        setText(presenter.uriOfPresenter, kConferenceParticipants[who].uri);
        script_.raise(out::kPresenter, presenter);
        TavmoClientStageEvent stage{};
        stage.stage = kStageShared;
        script_.raise(out::kStage, stage);
        auto frame = std::make_unique<TavmoClientVideoFrameEvent>();
        setText(frame->participantURI, kConferenceParticipants[who].uri);
        frame->mediaType = kShareSource;
        frame->sourceId = kShareSource;
        frame->viewPriority = 1;
        frame->width = 1920;
        frame->height = 1080;
        frame->format = 1;
        frame->size = 1920 * 1080 * 3 / 2;
        script_.raise(out::kVideoFrame, *frame);
    }

    void speak(std::size_t who) {
        auto frame = std::make_unique<TavmoClientAudioFrameEvent>();
        setText(frame->participantURI, kConferenceParticipants[who].uri);
        frame->sourceId = kAudioSource;
        frame->viewPriority = 1;
        frame->energy = 1800;
        frame->bps = 16;
        frame->samplingRate = 48000;
        frame->channels = 1;
        frame->samples = 480;
        script_.raise(out::kAudioFrame, *frame);
    }

    void cpuUsage(int32_t status) {
        TavmoClientCpuUsageEvent event{};
        event.currentCpuUsageStatus = status;
        event.reducedToFifteenFps = status == kCpuHigh ? 1 : 0;
        event.reducedNumberOfDecodeStreams = status == kCpuHigh ? 1 : 0;
        script_.raise(out::kCpuUsage, event);
    }

    void moderatorMutesMicrophones(bool muted) {
        if (muted) {
            TavmoClientNoticeEvent notice{};
            setText(notice.message, std::string(kConferenceParticipants[kModerator].name) + " muted all microphones");
            script_.raise(out::kNotice, notice);
        }
        TavmoClientMediaCommandEvent command{};
        command.mediaCommand = muted ? kStopMedia : kStartMedia;
        command.mediaType = kAudioMedia;
        command.mediaSource = kFromMicrophone;
        script_.raise(out::kMediaCommand, command);
        planned_.serverMutedAudio = muted;
        TavmoClientMuteEvent mute{};
        mute.isMuted = muted ? 1 : 0;
        script_.raise(out::kServerMutedAudio, mute);
    }

    void muteMicrophone(std::size_t who) {
        planned_.participants[who].audio = false;
        source(out::kSourceRemoved, who, kAudioSource, kMicrophoneSource);
    }

    void leave(std::size_t who) {
        Presence& presence = planned_.participants[who];
        if (presence.audio) {
            presence.audio = false;
            source(out::kSourceRemoved, who, kAudioSource, kMicrophoneSource);
        }
        presence.video = false;
        source(out::kSourceRemoved, who, kVideoSource, kConferenceParticipants[who].camera);
        presence.present = false;
        count();
    }

    void invitation(bool onCall) {
        TavmoClientInvitationEvent event{};
        setText(event.invitingUser, kConferenceParticipants[kModerator].name);
        event.onCallFlag = onCall ? 1 : 0;
        script_.raise(out::kInvitation, event);
    }

    void conferenceLeft() {
        planned_ = ConferenceView{TAVMO_CLIENT_CALL_STATE_DISCONNECTING};
        script_.raiseEmpty(TAVMO_CLIENT_OUT_EVENT_CONFERENCE_LEFT);
    }

    void raiseEmpty(int32_t code) { script_.raiseEmpty(code); }

private:
    ConferenceState& conference_;
    ConferenceView& planned_;
    Script& script_;
};

bool callRunning(const ConferenceView& view) {
    return view.callState == TAVMO_CLIENT_CALL_STATE_JOINING || view.inConference();
}

}  // namespace

void joinConference(LibraryState& state, Script& script, JoinRoute route) {
    Meeting meeting(state, script);
    meeting.callState(TAVMO_CLIENT_CALL_STATE_JOINING);
    meeting.progress(3, std::string("Joining ") + kRoomName);
    if (route == JoinRoute::OwnMeeting)
        meeting.portalAnswer(portal::withResult(portal::kStartMyConference, portal::kSuccess));
    if (route == JoinRoute::GuestLink)
        meeting.portalAnswer(portal::joined(portal::kJoinWithRoomKey, portal::kSuccess, portal::kNoFault));
    meeting.raiseEmpty(TAVMO_CLIENT_OUT_EVENT_CONFERENCE_ENTERED);
    meeting.raiseEmpty(out::kConferenceActive);
    for (std::size_t who = 0; who < kParticipantCount; ++who) meeting.arrive(who);
    meeting.callState(TAVMO_CLIENT_CALL_STATE_IN_CONFERENCE);

    meeting.uri();
    if (route == JoinRoute::OwnMeeting) {
        meeting.portalAnswer(portal::participants(portal::kGetParticipantsEx, state.conference.planned.present()));
        meeting.portalAnswer(portal::withText(portal::kGetConferenceId, kConferenceId));
    } else if (route == JoinRoute::GuestLink) {
        meeting.portalAnswer(portal::participants(portal::kGetParticipants, state.conference.planned.present()));
    }

    meeting.share(kPresenter);
    meeting.speak(kModerator);
    meeting.cpuUsage(kCpuHigh);
    meeting.moderatorMutesMicrophones(true);
    meeting.muteMicrophone(kEarlyLeaver);
    meeting.leave(kEarlyLeaver);
    meeting.cpuUsage(kCpuNormal);
    meeting.moderatorMutesMicrophones(false);
}

void leaveConference(LibraryState& state, Script& script) {
    const ConferenceView& planned = state.conference.planned;
    if (planned.callState == kCallStateRinging) {
        declineCall(state, script);
        return;
    }
    if (!callRunning(planned)) return;
    Meeting meeting(state, script);
    meeting.callState(TAVMO_CLIENT_CALL_STATE_DISCONNECTING);
    meeting.conferenceLeft();
    meeting.callState(TAVMO_CLIENT_CALL_STATE_IDLE);
}

void ringIncomingCall(LibraryState& state, Script& script) {
    Meeting meeting(state, script);
    const bool idle = state.conference.planned.callState == TAVMO_CLIENT_CALL_STATE_IDLE;
    meeting.invitation(!idle);
    if (idle) meeting.callState(kCallStateRinging);
}

void answerCall(LibraryState& state, Script& script) {
    if (state.conference.planned.callState == kCallStateRinging) joinConference(state, script, JoinRoute::AnsweredCall);
}

void declineCall(LibraryState& state, Script& script) {
    if (state.conference.planned.callState != kCallStateRinging) return;
    Meeting meeting(state, script);
    meeting.callState(TAVMO_CLIENT_CALL_STATE_IDLE);
    meeting.raiseEmpty(out::kInvitationOver);
}

std::vector<TimelineStep> conferenceEndAtStop(LibraryState& state) {
    ConferenceState& conference = state.conference;
    const bool wasInCall = conference.reported.callState != TAVMO_CLIENT_CALL_STATE_IDLE;
    conference.planned = conference.reported;
    Script script(conference.planned);
    if (state.started && wasInCall) {
        Meeting meeting(state, script);
        meeting.callState(TAVMO_CLIENT_CALL_STATE_DISCONNECTING);
        meeting.conferenceLeft();
        meeting.callState(TAVMO_CLIENT_CALL_STATE_IDLE);
    }
    conference.planned = ConferenceView{};
    conference.reported = ConferenceView{};
    conference.signedIn = false;
    return script.take();
}

void assumeCall(ConferenceState& conference, int32_t callState) {
    ConferenceView view;
    view.callState = callState;
    if (view.inConference()) {
        for (Presence& presence : view.participants) presence = Presence{true, true, true, false};
    }
    conference.planned = view;
    conference.reported = view;
    conference.joinedAt = std::chrono::steady_clock::now();
}

void reportConference(ConferenceState& conference, const ConferenceView& view) {
    if (view.inConference() && !conference.reported.inConference()) {
        conference.joinedAt = std::chrono::steady_clock::now();
    }
    conference.reported = view;
}

}  // namespace standin
