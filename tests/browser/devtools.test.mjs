// The debugging-pipe client against two in-memory pipes: what the browser's
// end of them does reaches every waiting caller at once.
import assert from "node:assert/strict";
import { PassThrough } from "node:stream";
import test from "node:test";
import { DevTools } from "./devtools.mjs";

function connected() {
  const commands = new PassThrough();
  const replies = new PassThrough();
  return { commands, replies, devtools: new DevTools(commands, replies) };
}

const browserEnds = [
  ["closes its reply pipe", ({ replies }) => replies.destroy(), /closed its debugging pipe/],
  [
    "resets its command pipe",
    ({ commands }) => commands.destroy(Object.assign(new Error("read ECONNRESET"), { code: "ECONNRESET" })),
    /debugging pipe failed: read ECONNRESET/,
  ],
  ["resets its reply pipe", ({ replies }) => replies.destroy(new Error("read ECONNRESET")), /read ECONNRESET/],
];

for (const [how, end, reason] of browserEnds) {
  test(`a browser that ${how} fails every waiting command and event wait, and later ones`, async () => {
    const pipes = connected();
    const command = pipes.devtools.send("Target.setDiscoverTargets");
    const event = pipes.devtools.waitForEvent(() => true, "a target", 60_000);
    end(pipes);
    await assert.rejects(command, reason);
    await assert.rejects(event, /while waiting for a target/);
    await assert.rejects(pipes.devtools.send("Browser.close"), reason);
    await assert.rejects(pipes.devtools.waitForEvent(() => true, "anything", 60_000), reason);
  });
}

test("replies reach their command and events their waiter, split anywhere", async () => {
  const { commands, replies, devtools } = connected();
  const sent = [];
  commands.on("data", (chunk) => sent.push(chunk.toString()));
  const command = devtools.send("Browser.getVersion");
  const event = devtools.waitForEvent(({ method }) => method === "Target.targetCreated", "a target", 60_000);
  const stream = '{"method":"Other"}\0{"method":"Target.targetCreated","params":{}}\0{"id":1,"result":{"product":"x"}}\0';
  replies.write(stream.slice(0, 7));
  replies.write(stream.slice(7, 40));
  replies.write(stream.slice(40));
  assert.deepEqual(await command, { product: "x" });
  assert.equal((await event).method, "Target.targetCreated");
  assert.deepEqual(JSON.parse(sent.join("").replace(/\0$/, "")), { id: 1, method: "Browser.getVersion", params: {} });
});
