// A typed page, checked by `tsc --noEmit`: what the page may write compiles,
// and each line marked @ts-expect-error must not (tsc fails if it does).
import { connect, TavmoRequestError, type Reply } from "../src/index.js";

const client = connect({ extensionId: "abcdefghijklmnopabcdefghijklmnop" });

async function joinAndChat(): Promise<string> {
  const started: Reply<"InEventStart"> = await client.request("InEventStart");
  const meeting = await client.request("PrivateInEventStartMyMeeting");
  await client.request("InEventMuteAudioIn", { willMute: true });
  await client.request("InEventGroupChat", { message: "Hello" });
  const state = await client.request("RequestGetCallState");
  const version: string = (await client.request("RequestGetVersion")).version;
  const volume: number = (await client.request("RequestGetVolumeAudioIn")).volume;
  try {
    await client.request("InEventLeave");
  } catch (error) {
    if (error instanceof TavmoRequestError) return error.error;
  }
  // @ts-expect-error: no such request
  await client.request("RequestGetNothing");
  // @ts-expect-error: willMute is a flag
  await client.request("InEventMuteAudioIn", { willMute: "yes" });
  // @ts-expect-error: the reply has no such member
  state.volume;
  return `${started.result} ${meeting.result} ${state.callState} ${version} ${volume}`;
}

client.on("callState", (params) => {
  const callState: string = params.callState;
  console.log(callState);
});
client.on(2600, (params, event) => console.log(event.name, params.displayName, params.message));
client.on("chatMessage", ({ message }) => console.log(message));
client.on("mutedServerAudioIn", ({ isMuted }) => console.log(isMuted));
client.on("conferenceLeft", (params) => {
  const nothing: null = params;
  console.log(nothing);
});
client.on("OutEventGetConferenceID", (answer) => {
  const id: string = answer.conferenceID;
  const requestId: number = answer.requestId;
  console.log(id, requestId, answer.type);
});
client.on("*", (_params, event) => console.log(event.code, event.name));
client.on("disconnected", (reason) => console.log(reason.toUpperCase()));
// @ts-expect-error: no event has that name
client.on("callstate", () => {});
// @ts-expect-error: the call state event carries no isMuted
client.on("callState", (params) => params.isMuted);

void joinAndChat();
