// Websites, the example extension and the host in a real browser: headless
// Chromium loads the extension, pages served from 127.0.0.1 under names of
// their own load the page library, connect through the extension's bridge
// and hold a conference with the stand-in library.
//
// Usage: node browser-test.mjs <host executable> <source folder> <launcher> <output folder>
import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import {
  chromiumVersion,
  copyExtension,
  killBrowser,
  launchWithExtension,
  makeBrowserTemporaryFolder,
  NOT_INSTALLED,
  openPage,
  SKIPPED,
  writeHostManifest,
} from "./chromium.mjs";
import { buildFacts } from "./facts.mjs";

const FACTS = buildFacts();
// Waits are generous: the machine may be busy. Nothing is timed.
const WAIT_MS = 90_000;
const WHOLE_RUN_MS = 540_000;
const TEST_DOMAIN_FILE = "ApprovedDomains.txt";
// Every name is 127.0.0.1 to the browser (--host-resolver-rules). The first
// two are in the extension's allow list; the user approved only the first.
const APPROVED = "meet.test";
const NOT_APPROVED = "other.test";
const NOT_ALLOWED = "stranger.test";
const PAGE = "/examples/page/index.html";
// What the local server serves, below the source folder.
const SERVED = ["/examples/page/", "/clients/js/src/"];
const CONTENT_TYPES = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css" };

const [hostExecutable, sourceFolder, launcher, outputFolder] = process.argv.slice(2).map((p) => path.resolve(p));

function prepareRun() {
  const run = path.join(outputFolder, "run");
  fs.rmSync(run, { recursive: true, force: true });
  const folders = {
    run,
    userData: path.join(run, "user-data"),
    extension: path.join(run, "extension"),
    temporary: makeBrowserTemporaryFolder(),
    config: path.join(run, "config"),
    cache: path.join(run, "cache"),
    state: path.join(run, "state"),
  };
  for (const folder of Object.values(folders)) fs.mkdirSync(folder, { recursive: true });
  folders.hostLogs = path.join(folders.state, "Tavmo", "Data", "User");
  fs.mkdirSync(folders.hostLogs, { recursive: true });

  // The extension's allow list names the test's websites.
  const id = copyExtension(path.join(sourceFolder, "examples/extension"), folders.extension, (manifest) => {
    manifest.externally_connectable.matches = [`http://${APPROVED}/*`, `http://${NOT_APPROVED}/*`];
  });
  writeHostManifest(folders.userData, id, { name: FACTS.hostName, description: "TavmoClientForWeb under test", program: launcher });
  // The user approved this website before, ticking "do not ask again"; the
  // library keeps the list in the host's log folder.
  fs.writeFileSync(path.join(folders.hostLogs, TEST_DOMAIN_FILE), `${APPROVED}\n`);
  folders.hostPidFile = path.join(run, "host.pid");
  return { folders, id };
}

// The pages and the library, on 127.0.0.1 only; nothing outside SERVED.
function startServer() {
  const server = http.createServer((request, response) => {
    const file = path.normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const type = CONTENT_TYPES[path.extname(file)];
    if (!type || !SERVED.some((folder) => file.startsWith(folder))) {
      response.writeHead(404).end();
      return;
    }
    fs.readFile(path.join(sourceFolder, file), (error, body) => {
      if (error) response.writeHead(404).end();
      else response.writeHead(200, { "Content-Type": type, "Cache-Control": "no-store" }).end(body);
    });
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Resolves once the browser runs the extension `id`.
function startBrowser(folders, id) {
  return launchWithExtension(folders, id, {
    environment: {
      TAVMO_BROWSER_TEST_HOST: hostExecutable,
      TAVMO_BROWSER_TEST_ORIGIN: FACTS.extensionOrigin,
      TAVMO_BROWSER_TEST_HOST_PID_FILE: folders.hostPidFile,
    },
    // Without a display the host cannot ask the user, which counts as a refusal.
    unset: ["XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"],
    flags: [
      "--disable-features=HttpsUpgrades,HttpsFirstBalancedModeAutoEnable",
      "--host-resolver-rules=MAP *.test 127.0.0.1",
      "--window-size=1200,900",
    ],
  }, WAIT_MS);
}

// A tab with the conference page of one website.
const openConferencePage = (devtools, url) =>
  openPage(devtools, url, `location.pathname === "${PAGE}" && typeof window.conference === "object"`, url, WAIT_MS);

// An event as the checks name it: its code, with the call state, the portal
// answer's type or the mute state where it has one.
function label({ code, params }) {
  if (code === 2500) return `2500:${params.callState}`;
  if (code === 200900) return `200900:${params.typeRequest}`;
  if (code >= 1500 && code <= 1504) return `${code}:${params.isMuted ? "muted" : "unmuted"}`;
  return String(code);
}

const received = (entries) => entries.filter((entry) => entry.direction !== "sent").map((entry) => entry.message);
const eventsOf = (entries) => received(entries).filter((message) => !("type" in message));
const repliesOf = (entries, type) => received(entries).filter((message) => message.type === type);

const click = (id) => `document.getElementById(${JSON.stringify(id)}).click()`;
const replyTo = (type) => `m.type === ${JSON.stringify(type)}`;
const text = (page, id) => page.evaluate(`document.getElementById(${JSON.stringify(id)}).textContent`);
const disabled = (page, id) => page.evaluate(`document.getElementById(${JSON.stringify(id)}).disabled`);
// The error a request from the page got, or "" when it succeeded.
const refusalOf = (page, type, members = {}) =>
  page.evaluate(`request(${JSON.stringify(type)}, ${JSON.stringify(members)}).then(() => "", (error) => error.message)`);

// Does something in the page and waits until, for each condition (an
// expression on `m`), some received message matches; returns every message
// since.
async function doAndWait(page, action, conditions, what) {
  const mark = await page.evaluate("log.length");
  await page.evaluate(action);
  const receivedInPage = `log.slice(${mark}).filter(({ direction }) => direction !== "sent").map(({ message }) => message)`;
  const matched = [conditions].flat().map((condition) => `messages.some((m) => ${condition})`);
  await page.waitUntil(`((messages) => ${matched.join(" && ")})(${receivedInPage})`, what, WAIT_MS);
  return page.evaluate(`log.slice(${mark})`);
}

// The start's reply and the library's event 200 may come in either order.
const startLibrary = (page) =>
  doAndWait(page, click("start"), [replyTo("InEventStart"), "m.code === 200"], "the start's reply and event 200");

async function connectPage(page) {
  await page.evaluate(click("connect"));
  assert.equal(await text(page, "host-state"), "connected");
}

function onlyReply(entries, type) {
  const replies = repliesOf(entries, type);
  assert.equal(replies.length, 1, `one reply to ${type}`);
  return replies[0];
}

const JOIN_EVENTS = [
  "270003",
  "2500:Joining",
  "700",
  "200900:7",
  "1200",
  "1201",
  // Alex, Sam and Kim in turn: microphone, camera, the new count.
  ...["1210", "1210", "1202"],
  ...["1210", "1210", "1202"],
  ...["1210", "1210", "1202"],
  "2500:InConference",
];

// Steps on the approved website's page, in order.
const conferenceSteps = {
  async "start and stop"(page) {
    assert.equal(await disabled(page, "start"), true, "nothing to start before the connection");
    await connectPage(page);
    let entries = await startLibrary(page);
    assert.equal(onlyReply(entries, "InEventStart").result, "TavmoClient started");
    assert.deepEqual(eventsOf(entries).map(label), ["200"]);
    assert.equal(await disabled(page, "mute"), true, "no microphone to mute outside a call");
    entries = await doAndWait(page, click("stop"), replyTo("InEventStop"), "the stop's reply");
    assert.equal(onlyReply(entries, "InEventStop").result, "ok");
  },

  async "a conference, events in order, approval remembered for the website"(page) {
    await startLibrary(page);
    const entries = await doAndWait(page, click("join"), `m.code === 1503 && m.params.isMuted === false`, "the join's last event");
    assert.equal(repliesOf(entries, "RequestSetDomain").length, 0, "the bridge's own request is its own");
    assert.equal(onlyReply(entries, "PrivateInEventStartMyMeeting").result, "ok");
    const events = eventsOf(entries);
    assert.deepEqual(events.slice(0, JOIN_EVENTS.length).map(label), JOIN_EVENTS);
    assert.equal(events[0].params.joinStatus, true);
    assert.equal(label(events.at(-1)), "1503:unmuted");
    assert.equal(await text(page, "call-state"), "InConference");
    // Kim has left by the end of the join.
    assert.equal(await text(page, "participant-count"), "2");
    const participants = await text(page, "participants");
    assert.match(participants, /Alex Moreau/);
    assert.match(participants, /Sam Ortiz/);
    assert.doesNotMatch(participants, /Kim Lee/);
    assert.equal(await disabled(page, "join"), true, "no second meeting during the call");
  },

  async "stop refused during the call, the error shown as text"(page) {
    assert.equal(await disabled(page, "stop"), true);
    const refusal = await refusalOf(page, "InEventStop");
    assert.equal(refusal, "TavmoClient can't stop. Reason: Not in idle call state");
    assert.equal(await text(page, "error"), `InEventStop: ${refusal}`);
  },

  async "requests a website must not send are refused by the bridge"(page) {
    for (const type of ["RequestSetDomain", "RequestSetLogLevelsAndCategories", "RequestGetConfiguration"]) {
      const refusal = await refusalOf(page, type, { domain: "approved.example", levelsAndCategories: "ALL" });
      assert.match(refusal, new RegExp(`^${type} is not allowed from a website: `));
    }
  },

  async "chat, own line shown once accepted"(page) {
    const send = `document.getElementById("chat-text").value = "Hello from the page";
                  document.getElementById("chat-form").requestSubmit()`;
    const entries = await doAndWait(page, send, "m.code === 2600", "the chat's answer");
    assert.equal(onlyReply(entries, "InEventGroupChat").result, "ok");
    const answer = eventsOf(entries).find((event) => event.code === 2600);
    assert.equal(answer.params.displayName, "Alex Moreau");
    assert.equal(answer.params.message, "Re: Hello from the page");
    const chat = await text(page, "chat");
    assert.match(chat, /You: Hello from the page/);
    assert.match(chat, /Alex Moreau: Re: Hello from the page/);
  },

  async "mute, screenshot during the call"(page) {
    for (const muted of [true, false]) {
      const entries = await doAndWait(page, click("mute"), "m.code === 1500", "the mute event");
      const reply = onlyReply(entries, "InEventMuteAudioIn");
      assert.equal(reply.result, "ok");
      assert.equal(reply.willMute, muted);
      assert.deepEqual(eventsOf(entries).filter((event) => event.code === 1500).map(label), [
        `1500:${muted ? "muted" : "unmuted"}`,
      ]);
      assert.equal(await text(page, "microphone-state"), muted ? "muted" : "on");
      if (muted) await screenshot(page, "conference.png");
    }
  },

  async "events shown with their names"(page) {
    const shown = await text(page, "log");
    assert.match(shown, /← callState \{"code":2500/);
    assert.match(shown, /← chatMessage \{"code":2600/);
  },

  async leave(page) {
    const entries = await doAndWait(page, click("leave"), `m.code === 2500 && m.params.callState === "Idle"`, "Idle");
    assert.equal(onlyReply(entries, "InEventLeave").result, "ok");
    assert.deepEqual(eventsOf(entries).map(label), ["2500:Disconnecting", "1203", "2500:Idle"]);
    assert.equal(await text(page, "participant-count"), "0");
  },

  async "1,000 pipelined requests answered in order"(page) {
    const count = 1000;
    const order = await page.evaluate(
      `Promise.all(Array.from({ length: ${count} }, (_, sequence) => conference.client.request("RequestGetCallState", { sequence })))
         .then((replies) => replies.filter((reply) => reply.callState === "Idle").map((reply) => reply.sequence))`,
    );
    assert.deepEqual(order, Array.from({ length: count }, (_, sequence) => sequence));
  },
};

// Two websites at once, each sending a burst: each gets its own replies and
// no other. Both count their ids from about 1 (the first connects afresh),
// so a reply carried to the wrong website would settle a request there.
async function twoTabsAtOnce(pages) {
  await pages[0].evaluate(click("disconnect"));
  await connectPage(pages[0]);
  const count = 300;
  const burst = (tab) =>
    `Promise.all(Array.from({ length: ${count} }, (_, sequence) =>
        conference.client.request("RequestGetVersion", { tab: ${JSON.stringify(tab)}, sequence })))
       .then((replies) => replies.map((reply) => reply.tab + ":" + reply.sequence))`;
  const [first, second] = await Promise.all([pages[0].evaluate(burst("A")), pages[1].evaluate(burst("B"))]);
  assert.deepEqual(first, Array.from({ length: count }, (_, sequence) => `A:${sequence}`));
  assert.deepEqual(second, Array.from({ length: count }, (_, sequence) => `B:${sequence}`));
  // A website's own "_tabId", the bridge's (0) or another's, steers nothing.
  const spoofed = await pages[1].evaluate(
    `Promise.race([
       Promise.all([0, 1, 2, 3, 4].map((_tabId) => conference.client.request("RequestGetVersion", { _tabId })))
         .then((replies) => replies.map((reply) => reply.type + ":" + ("_tabId" in reply))),
       new Promise((resolve) => setTimeout(() => resolve("a reply went elsewhere"), ${WAIT_MS}))])`,
  );
  assert.deepEqual(spoofed, Array(5).fill("RequestGetVersion:false"));
}

async function notApprovedWebsite(page) {
  const entries = await doAndWait(page, click("join"), replyTo("PrivateInEventStartMyMeeting"), "the refusal");
  const refusal = onlyReply(entries, "PrivateInEventStartMyMeeting").error;
  assert.equal(refusal, "TavmoClient Can not get the Domain approval from enduser");
  assert.equal(await text(page, "error"), `PrivateInEventStartMyMeeting: ${refusal}`);
  const outcome = eventsOf(entries).find((event) => event.code === 270003);
  assert.equal(outcome.params.joinStatus, false);
  assert.equal(await text(page, "call-state"), "Idle");
}

async function notAllowedWebsite(page) {
  await page.evaluate(click("connect"));
  await page.waitUntil(`document.getElementById("host-state").textContent.startsWith("disconnected: ")`, "the refusal", WAIT_MS);
  assert.equal(await disabled(page, "start"), true);
}

async function hostGoneAway(pages, folders) {
  const pid = Number(fs.readFileSync(folders.hostPidFile, "utf8"));
  process.kill(pid, "SIGKILL");
  for (const page of pages)
    await page.waitUntil(
      `document.getElementById("host-state").textContent.startsWith("disconnected: the host has gone away")`,
      "the page told that the host went away",
      WAIT_MS,
    );
}

let outputForScreenshots;
async function screenshot(page, name) {
  await page.waitUntil("linesToShow.length === 0", "the log lines on the page", WAIT_MS);
  const { data } = await page.send("Page.captureScreenshot", { format: "png" });
  const file = path.join(outputForScreenshots, name);
  fs.writeFileSync(file, Buffer.from(data, "base64"));
  console.log(`screenshot: ${file}`);
}

const hostLogFiles = (folder) => new Set(fs.readdirSync(folder).filter((name) => name.endsWith(".log")));

// Waits for a host started after `before` (a set of log file names) to
// write its last line, and returns its log.
async function finishedHostLog(folder, before) {
  const deadline = Date.now() + WAIT_MS;
  for (;;) {
    for (const name of hostLogFiles(folder)) {
      if (before.has(name)) continue;
      const text = fs.readFileSync(path.join(folder, name), "utf8");
      if (/MainThread: EXIT$/m.test(text)) return text;
    }
    if (Date.now() > deadline) throw new Error("gave up waiting for the host to exit");
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
}

function assertOrderlyShutdown(log, { leftTheCall }) {
  const positions = [
    ...(leftTheCall
      ? [log.indexOf("InputThread: Pushing: ["), log.indexOf("Processing Request: [InEventLeave]")]
      : []),
    log.search(/InputThread: EXIT$/m),
    log.indexOf("MainThread: EXIT Starting cleanup..."),
    log.search(/MainThread: EXIT$/m),
  ];
  assert.ok(positions.every((position) => position >= 0), "every shutdown line is in the host's log");
  assert.deepEqual([...positions].sort((a, b) => a - b), positions, "the shutdown lines come in order");
  if (!leftTheCall) assert.equal(log.indexOf("InputThread: Pushing: ["), -1, "no leave without a call");
}

// The last website closing its port closes the bridge's port to the host,
// which ends the host (leaving a call first).
async function closingTheLastPort(page, folders, { duringCall }) {
  const earlierLogs = hostLogFiles(folders.hostLogs);
  await connectPage(page);
  await startLibrary(page);
  if (duringCall)
    await doAndWait(page, click("join"), `m.code === 2500 && m.params.callState === "InConference"`, "InConference");
  await page.evaluate(click("disconnect"));
  assert.equal(await text(page, "host-state"), "disconnected");
  assertOrderlyShutdown(await finishedHostLog(folders.hostLogs, earlierLogs), { leftTheCall: duringCall });
}

async function main() {
  const version = chromiumVersion();
  if (!version) {
    console.log(NOT_INSTALLED);
    return SKIPPED;
  }
  console.log(version);
  fs.mkdirSync(outputFolder, { recursive: true });
  outputForScreenshots = outputFolder;
  const { folders, id } = prepareRun();
  const server = await startServer();
  const address = (host) => `http://${host}:${server.address().port}${PAGE}?extension=${id}`;
  console.log(`extension id ${id}; run folder ${folders.run}; pages on ${address(APPROVED)}`);

  // Set once the browser runs; until then the launch cleans up after itself.
  let browser = null;
  const killTheBrowser = () => browser && killBrowser(browser);
  for (const signal of ["SIGINT", "SIGTERM"]) {
    process.on(signal, () => {
      killTheBrowser();
      process.exit(1);
    });
  }
  const wholeRun = setTimeout(() => {
    console.error("the whole run took too long; killing the browser");
    killTheBrowser();
    process.exit(1);
  }, WHOLE_RUN_MS);

  let failures = 0;
  const check = async (name, body) => {
    const began = Date.now();
    try {
      await body();
      console.log(`ok: ${name} (${((Date.now() - began) / 1000).toFixed(1)} s)`);
    } catch (error) {
      failures++;
      console.error(`FAILED: ${name}\n${error.stack}`);
    }
  };
  try {
    let devtools;
    ({ browser, devtools } = await startBrowser(folders, id));
    const approved = await openConferencePage(devtools, address(APPROVED));
    for (const [name, body] of Object.entries(conferenceSteps)) await check(name, () => body(approved));
    const other = await openConferencePage(devtools, address(NOT_APPROVED));
    await check("a second website connects to the running library", async () => {
      await connectPage(other);
      await doAndWait(other, click("start"), replyTo("InEventStart"), "the start's reply");
      assert.equal(await disabled(other, "join"), false);
    });
    await check("two websites at once each get only their own replies", () => twoTabsAtOnce([approved, other]));
    await check("a website the user has not approved is refused", () => notApprovedWebsite(other));
    const stranger = await openConferencePage(devtools, address(NOT_ALLOWED));
    await check("a website not in the allow list cannot connect", () => notAllowedWebsite(stranger));
    await check("every website is told when the host goes away", () => hostGoneAway([approved, other], folders));
    await check("closing the last port while idle ends the host", () =>
      closingTheLastPort(approved, folders, { duringCall: false }),
    );
    await check("closing the last port during a call leaves it and ends the host", () =>
      closingTheLastPort(approved, folders, { duringCall: true }),
    );
    await devtools.send("Browser.close").catch(() => {});
  } catch (error) {
    failures++;
    console.error(`FAILED: ${error.stack}`);
  } finally {
    clearTimeout(wholeRun);
    killTheBrowser();
    server.close();
  }
  if (failures) {
    console.error(`browser log: ${path.join(folders.run, "browser.log")}; host logs: ${folders.hostLogs}`);
  }
  return failures ? 1 : 0;
}

process.exitCode = await main();
