// Headless Chromium as the browser test and the browser benchmark use it: an
// unpacked extension under a key of its own, host manifests that name it, the
// browser in a home of its own, driven over its debugging pipe.
import { execFileSync, spawn } from "node:child_process";
import crypto from "node:crypto";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { DevTools, PageSession } from "./devtools.mjs";

export const CHROMIUM = "/usr/lib/chromium/chromium";
// What ctest counts as skipped.
export const SKIPPED = 77;
export const NOT_INSTALLED = `${CHROMIUM} is not installed (scripts/install-deps.sh browser); skipped`;

// The browser's version line, or null when it is not installed.
export function chromiumVersion() {
  if (!fs.existsSync(CHROMIUM)) return null;
  return execFileSync(CHROMIUM, ["--version"], { encoding: "utf8" }).trim();
}

// The first 32 hex digits of the SHA-256 of the public key, each mapped
// from 0-f to a-p.
function extensionId(publicKeyDer) {
  const digest = crypto.createHash("sha256").update(publicKeyDer).digest("hex").slice(0, 32);
  return digest.replace(/[0-9a-f]/g, (digit) => String.fromCharCode(97 + parseInt(digit, 16)));
}

// Copies the unpacked extension from `source` to `destination` under a key
// of its own, which gives it a fixed id for this run; `edit` may change the
// manifest further. Returns the id.
export function copyExtension(source, destination, edit = () => {}) {
  const { publicKey } = crypto.generateKeyPairSync("rsa", {
    modulusLength: 2048,
    publicKeyEncoding: { type: "spki", format: "der" },
    privateKeyEncoding: { type: "pkcs8", format: "pem" },
  });
  fs.cpSync(source, destination, { recursive: true });
  const manifestPath = path.join(destination, "manifest.json");
  const manifest = JSON.parse(fs.readFileSync(manifestPath, "utf8"));
  manifest.key = publicKey.toString("base64");
  edit(manifest);
  fs.writeFileSync(manifestPath, JSON.stringify(manifest, null, 2));
  return extensionId(publicKey);
}

// A temporary folder for the browser, of this run alone (made private by
// mkdtemp) and removed when the run ends. The browser puts a Unix socket in
// it, whose path may hold at most 107 bytes, so it lies in the system's
// temporary folder rather than deep in a build folder, where the browser
// ends at once ("Socket path too long").
export function makeBrowserTemporaryFolder() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tavmo-browser-"));
  process.on("exit", () => fs.rmSync(folder, { recursive: true, force: true }));
  return folder;
}

// A native-messaging host in the browser's user data folder, open to the
// extension `id` only.
export function writeHostManifest(userData, id, { name, description, program }) {
  const folder = path.join(userData, "NativeMessagingHosts");
  fs.mkdirSync(folder, { recursive: true });
  fs.writeFileSync(
    path.join(folder, `${name}.json`),
    JSON.stringify({ name, description, path: program, type: "stdio", allowed_origins: [`chrome-extension://${id}/`] }),
  );
}

// Starts the browser in its own process group with `folders.run` as its home
// (the other folders for its temporary files, configuration, cache and
// state) and its output in browser.log there. `environment` is added to
// ours, then the names in `unset` are taken out; `flags` follow the common
// ones. Returns the browser and a DevTools client on its pipe.
export function launchBrowser(folders, { environment = {}, unset = [], flags = [] } = {}) {
  const browserEnvironment = {
    ...process.env,
    HOME: folders.run,
    TMPDIR: folders.temporary,
    XDG_CONFIG_HOME: folders.config,
    XDG_CACHE_HOME: folders.cache,
    XDG_STATE_HOME: folders.state,
    ...environment,
  };
  for (const name of ["LOCALAPPDATA", "TAVMO_STANDIN_SCENARIO", "TAVMO_STANDIN_DATA_DIR", ...unset]) {
    delete browserEnvironment[name];
  }
  const browserLog = fs.openSync(path.join(folders.run, "browser.log"), "w");
  const browser = spawn(
    CHROMIUM,
    [
      "--no-sandbox",
      "--headless=new",
      "--disable-gpu",
      "--no-first-run",
      "--no-default-browser-check",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      ...flags,
      `--user-data-dir=${folders.userData}`,
      `--load-extension=${folders.extension}`,
      "--remote-debugging-pipe",
    ],
    { env: browserEnvironment, detached: true, stdio: ["ignore", browserLog, browserLog, "pipe", "pipe"] },
  );
  fs.closeSync(browserLog);
  return { browser, devtools: new DevTools(browser.stdio[3], browser.stdio[4]) };
}

// The whole process group: the browser, its helpers and any host it started.
export function killBrowser(browser) {
  if (browser.exitCode !== null || browser.signalCode !== null) return;
  try {
    process.kill(-browser.pid, "SIGKILL");
  } catch {
    // Already gone.
  }
}

// Resolves once the extension `id` has its service worker running.
export async function waitForExtension(devtools, id, timeoutMs) {
  const serviceWorker = devtools.waitForEvent(
    ({ method, params }) =>
      (method === "Target.targetCreated" || method === "Target.targetInfoChanged") &&
      params.targetInfo.type === "service_worker" &&
      params.targetInfo.url.startsWith(`chrome-extension://${id}/`),
    "the extension's service worker",
    timeoutMs,
  );
  // Together, so that the browser's end fails both and leaves no rejection
  // unheard.
  await Promise.all([serviceWorker, devtools.send("Target.setDiscoverTargets", { discover: true })]);
}

// The last lines the browser wrote, for a report.
export function browserLogTail(folders, lines = 30) {
  try {
    return fs.readFileSync(path.join(folders.run, "browser.log"), "utf8").trimEnd().split("\n").slice(-lines).join("\n");
  } catch (error) {
    return `(no browser log: ${error.message})`;
  }
}

// Launches the browser (as launchBrowser) and resolves once the extension
// `id` runs. A browser that ends while it starts, before the extension or any
// host has run, is the machine's failure, not the code's under test: it is
// reported with the end of its log and started once more.
export async function launchWithExtension(folders, id, launchOptions, timeoutMs) {
  for (let attempt = 1; ; ++attempt) {
    const launched = launchBrowser(folders, launchOptions);
    process.on("exit", () => killBrowser(launched.browser));
    try {
      await waitForExtension(launched.devtools, id, timeoutMs);
      return launched;
    } catch (error) {
      killBrowser(launched.browser);
      const log = browserLogTail(folders);
      if (!launched.devtools.closedReason || attempt === 2) throw new Error(`${error.message}\nthe end of the browser log:\n${log}`);
      console.error(`the browser ended while starting (${error.message}); the end of its log:\n${log}\nstarting it once more`);
    }
  }
}

// A new tab on `url`, returned once `ready` (an expression) is true in it.
export async function openPage(devtools, url, ready, what, timeoutMs) {
  const { targetId } = await devtools.send("Target.createTarget", { url });
  const { sessionId } = await devtools.send("Target.attachToTarget", { targetId, flatten: true });
  const page = new PageSession(devtools, sessionId);
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    try {
      await page.waitUntil(ready, what, timeoutMs);
      return page;
    } catch (error) {
      // The new tab shows a blank document first: until the page is in there
      // may be no context to evaluate in, and its navigation ends any
      // evaluation begun before it.
      if (!/context was destroyed|Cannot find (default execution )?context/.test(error.message) || Date.now() > deadline)
        throw error;
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
}
