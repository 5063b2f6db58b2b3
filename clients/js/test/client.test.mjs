import assert from "node:assert/strict";
import { test } from "node:test";
import { connect, HOST_NAME, TavmoDisconnectedError, TavmoRequestError, BRIDGE_DISCONNECTED } from "../src/index.js";
import { buildFacts } from "../../../tests/browser/facts.mjs";
import { FakePort } from "./fake-port.mjs";

const FACTS = buildFacts();

function connected() {
  const port = new FakePort();
  return { port, client: connect({ port }) };
}

const settled = (promise) =>
  promise.then(
    (value) => ({ value }),
    (error) => ({ error }),
  );

test("the library connects to the host under the name the host is registered with", () => {
  assert.equal(HOST_NAME, FACTS.hostName);
});

test("replies are matched to their requests by _id, whatever their order", async () => {
  const { port, client } = connected();
  const first = client.request("RequestGetVersion");
  const second = client.request("RequestGetCallState", { sequence: 2 });
  assert.deepEqual(
    port.posted.map(({ type, _direction }) => ({ type, _direction })),
    [
      { type: "RequestGetVersion", _direction: 1 },
      { type: "RequestGetCallState", _direction: 1 },
    ],
  );
  assert.notEqual(port.posted[0]._id, port.posted[1]._id);
  port.answer(1, { callState: "Idle" });
  port.answer(0, { version: FACTS.hostVersion });
  assert.equal((await first).version, FACTS.hostVersion);
  const reply = await second;
  assert.equal(reply.callState, "Idle");
  assert.equal(reply.sequence, 2, "the request's own members come back");
});

test("a page's own _id and _direction do not replace the library's", async () => {
  const { port, client } = connected();
  const reply = client.request("RequestGetVersion", { _id: 99, _direction: 2 });
  assert.equal(port.posted[0]._direction, 1);
  assert.notEqual(port.posted[0]._id, 99);
  port.answer(0, { version: "v" });
  assert.equal((await reply).version, "v");
});

test("a reply with an error rejects with that text and the reply", async () => {
  const { port, client } = connected();
  const stop = settled(client.request("InEventStop"));
  port.answer(0, { error: "TavmoClient not yet started" });
  const { error } = await stop;
  assert.ok(error instanceof TavmoRequestError);
  assert.equal(error.message, "TavmoClient not yet started");
  assert.equal(error.error, "TavmoClient not yet started");
  assert.equal(error.type, "InEventStop");
  assert.equal(error.reply._id, port.posted[0]._id);
});

test("a reply nobody waits for, or one answered twice, settles nothing else", async () => {
  const { port, client } = connected();
  const waiting = client.request("RequestGetCallState");
  port.deliver({ type: "RequestGetCallState", _id: 12345, _direction: 2, callState: "Joining" });
  port.answer(0, { callState: "Idle" });
  port.answer(0, { callState: "Ringing" });
  assert.equal((await waiting).callState, "Idle");
  // The next request gets an id of its own, never the answered one's twin.
  client.request("RequestGetCallState");
  assert.notEqual(port.posted[1]._id, port.posted[0]._id);
});

test("events reach handlers by code, by name and by portal answer type", () => {
  const { port, client } = connected();
  const seen = [];
  const byCode = (params, event) => seen.push(["code", event.code, event.name, params.callState]);
  client.on(2500, byCode);
  client.on("callState", (params) => seen.push(["name", params.callState]));
  client.on("chatMessage", (params, event) => seen.push(["chat", event.code, params.message]));
  client.on("OutEventGetConferenceID", (params) => seen.push(["answer", params.conferenceID]));
  client.on("*", (params, event) => seen.push(["every", event.code]));
  port.deliver({ code: 2500, params: { callState: "Joining" }, _direction: 2 });
  port.deliver({ code: 2600, params: { message: "Hi" }, _direction: 2 });
  port.deliver({ code: 200900, params: { typeRequest: 52, type: "OutEventGetConferenceID", conferenceID: "c1" } });
  port.deliver({ code: 200900, params: { typeRequest: 7, type: "OutEventStartMyConference" } });
  assert.deepEqual(seen, [
    ["code", 2500, "callState", "Joining"],
    ["name", "Joining"],
    ["every", 2500],
    ["chat", 2600, "Hi"],
    ["every", 2600],
    ["answer", "c1"],
    ["every", 200900],
    ["every", 200900],
  ]);
  client.off("callState", byCode);
  port.deliver({ code: 2500, params: { callState: "Idle" } });
  assert.equal(seen.filter(([kind]) => kind === "code").length, 1, "off by name removes the handler added by code");
});

test("an event name the protocol does not know is refused at once", () => {
  const { client } = connected();
  for (const wrong of ["callstate", "CallState", "", 2500.5, null]) {
    assert.throws(() => client.on(wrong, () => {}), TypeError, String(wrong));
  }
});

test("a failing handler does not keep the others from the event", () => {
  const { port, client } = connected();
  const failures = [];
  globalThis.reportError = (error) => failures.push(error.message);
  let reached = false;
  client.on("callState", () => {
    throw new Error("page bug");
  });
  client.on("callState", () => (reached = true));
  port.deliver({ code: 2500, params: { callState: "Idle" } });
  delete globalThis.reportError;
  assert.ok(reached);
  assert.deepEqual(failures, ["page bug"]);
});

test("a disconnect rejects every waiting request with the browser's reason", async () => {
  const { port, client } = connected();
  const reasons = [];
  client.on("disconnected", (reason) => reasons.push(reason));
  const waiting = [client.request("InEventStart"), client.request("RequestGetVersion")].map(settled);
  port.end("Native host has exited.");
  for (const { error } of await Promise.all(waiting)) {
    assert.ok(error instanceof TavmoDisconnectedError);
    assert.equal(error.reason, "Native host has exited.");
  }
  assert.deepEqual(reasons, ["Native host has exited."]);
  assert.equal(client.connected, false);
  const after = await settled(client.request("RequestGetVersion"));
  assert.equal(after.error.reason, "Native host has exited.");
  assert.equal(port.posted.length, 2, "nothing is posted after the end");
  // A listener that comes late still hears of it.
  const late = await new Promise((resolve) => client.on("disconnected", resolve));
  assert.equal(late, "Native host has exited.");
});

test("the bridge's word that the host went away ends the connection with its reason", async () => {
  const { port, client } = connected();
  const waiting = settled(client.request("PrivateInEventStartMyMeeting"));
  port.deliver({ [BRIDGE_DISCONNECTED]: "the host has gone away: Native host has exited." });
  assert.equal((await waiting).error.reason, "the host has gone away: Native host has exited.");
  assert.ok(port.disconnected, "the page's side of the port is closed as well");
});

test("closing rejects what waits and closes the port", async () => {
  const { port, client } = connected();
  const waiting = settled(client.request("InEventLeave"));
  client.close();
  assert.ok(port.disconnected);
  assert.ok((await waiting).error instanceof TavmoDisconnectedError);
});

test("a website that no extension lets in is told so", async () => {
  const client = connect({ extensionId: "abcdefghijklmnopabcdefghijklmnop" });
  const reason = await new Promise((resolve) => client.on("disconnected", resolve));
  assert.equal(reason, "no extension lets this website connect");
  assert.ok((await settled(client.request("InEventStart"))).error instanceof TavmoDisconnectedError);
});
