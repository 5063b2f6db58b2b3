// The browser path measured: headless Chromium loads the measuring extension
// (extension/), whose page talks through native messaging to the framed
// echo, the script host and the host, in one browser session, the programs
// interleaved round by round. Prints a Markdown table on standard output.
//
// Usage: node browser-bench.mjs --host PATH --echo PATH --python PATH --script PATH --launcher PATH
//                               [--requests N] [--pingpong N] [--connects N] [--runs N] [--output DIR]
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
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
} from "../../tests/browser/chromium.mjs";
import { buildFacts } from "../../tests/browser/facts.mjs";

// Guards against a hang, not measurements.
const WAIT_MS = 120_000;
const EXTENSION = path.join(path.dirname(fileURLToPath(import.meta.url)), "extension");
const FACTS = buildFacts();

const options = { requests: 20000, pingpong: 2000, connects: 10, runs: 3, output: path.join(os.tmpdir(), "tavmo-browser-bench") };
const args = process.argv.slice(2);
for (let i = 0; i < args.length; i += 2) {
  const name = args[i].replace(/^--/, "");
  if (!(name in options) && !["host", "echo", "python", "script", "launcher"].includes(name)) {
    throw new Error(`unknown option ${args[i]}`);
  }
  if (args[i + 1] === undefined) throw new Error(`${args[i]} needs a value`);
  options[name] = typeof options[name] === "number" ? Number(args[i + 1]) : args[i + 1];
  if (typeof options[name] === "number" && !(Number.isInteger(options[name]) && options[name] > 0)) {
    throw new Error(`${args[i]} needs a positive count`);
  }
}
for (const name of ["host", "echo", "python", "script", "launcher"]) {
  if (!options[name]) throw new Error(`--${name} is missing`);
  options[name] = path.resolve(options[name]);
}

// The native-messaging host names the page connects to, and how each
// program is started. The host's name is its own: the launcher adds the
// origin that the host serves.
const programs = [
  { label: "Echo (C)", hostName: "com.tavmo.bench_echo", command: [options.echo] },
  { label: "Script host (Python)", hostName: "com.tavmo.bench_script", command: [options.python, options.script] },
  { label: "Host + stand-in", hostName: FACTS.hostName, launcher: options.launcher, executable: options.host },
];

const quoted = (text) => `'${text.replace(/'/g, `'\\''`)}'`;

function prepareRun() {
  const run = path.join(path.resolve(options.output), "run");
  fs.rmSync(run, { recursive: true, force: true });
  const folders = Object.fromEntries(
    ["userData", "extension", "config", "cache", "state", "launchers"].map((name) => [name, path.join(run, name)]),
  );
  folders.temporary = makeBrowserTemporaryFolder();
  for (const folder of Object.values(folders)) fs.mkdirSync(folder, { recursive: true });
  folders.run = run;
  const id = copyExtension(EXTENSION, folders.extension);
  for (const program of programs) {
    let launcher = program.launcher;
    if (!launcher) {
      launcher = path.join(folders.launchers, `${program.hostName}.sh`);
      fs.writeFileSync(launcher, `#!/bin/sh\nexec ${program.command.map(quoted).join(" ")} "$@"\n`, { mode: 0o755 });
    }
    writeHostManifest(folders.userData, id, {
      name: program.hostName,
      description: `${program.label} under measurement`,
      program: launcher,
    });
  }
  return { folders, id };
}

async function openMeasuringPage(devtools, id) {
  const url = `chrome-extension://${id}/measure.html`;
  return openPage(devtools, url, `typeof pipelined === "function"`, "the measuring page", WAIT_MS);
}

// The host takes a single-instance lock: the next port to it waits until the
// host of the last one has gone. Found by its executable in /proc.
async function untilGone(executable) {
  if (!executable) return;
  const target = fs.realpathSync(executable);
  const running = () =>
    fs.readdirSync("/proc").some((entry) => {
      if (!/^\d+$/.test(entry)) return false;
      try {
        return fs.readlinkSync(`/proc/${entry}/exe`) === target;
      } catch {
        return false;
      }
    });
  const deadline = Date.now() + WAIT_MS;
  while (running()) {
    if (Date.now() > deadline) throw new Error(`${executable} did not exit`);
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

async function measure(page) {
  const samples = new Map(programs.map((program) => [program, { rate: [], p50: [], p99: [], connect: [] }]));
  const inPage = async (program, call) => {
    await untilGone(program.executable);
    return page.evaluate(call);
  };
  // The browser's first native-messaging port of the session costs more than
  // any later one, whichever program it goes to: untimed.
  for (const program of programs) await inPage(program, `connectToFirstReply(${JSON.stringify(program.hostName)})`);
  for (let run = 1; run <= options.runs; ++run) {
    console.error(`browser-bench: run ${run} of ${options.runs}`);
    for (const program of programs) {
      const name = JSON.stringify(program.hostName);
      const figures = samples.get(program);
      figures.rate.push(await inPage(program, `pipelined(${name}, ${options.requests})`));
      const { p50, p99 } = await inPage(program, `pingPong(${name}, ${options.pingpong})`);
      figures.p50.push(p50);
      figures.p99.push(p99);
      for (let i = 0; i < options.connects; ++i) figures.connect.push(await inPage(program, `connectToFirstReply(${name})`));
    }
  }
  await untilGone(programs.at(-1).executable);
  return samples;
}

function table(samples) {
  const [echo, script, host] = programs.map((program) => samples.get(program));
  const rows = [
    ["Pipelined RequestGetVersion", "k msgs/s", 2, "rate", (v) => v / 1000, ">= 0.90x echo", (r) => r >= 0.9],
    ["Ping-pong p50", "ms", 3, "p50", (v) => v, "<= 1.10x echo", (r) => r <= 1.1],
    ["Ping-pong p99", "ms", 3, "p99", (v) => v, "", null],
    ["connectNative to the first reply", "ms", 1, "connect", (v) => v, "<= 1.20x echo", (r) => r <= 1.2],
  ];
  let text =
    "| Measure | Echo (C) | Script host (Python) | Host + stand-in | Host / echo | Host / script | Target | Met |\n" +
    "|---|---:|---:|---:|---:|---:|---|---|\n";
  for (const [measure, unit, decimals, key, scale, target, met] of rows) {
    const [e, s, h] = [echo, script, host].map((figures) => scale(median(figures[key])));
    const shown = (value) => `${value.toFixed(decimals)} ${unit}`;
    text += `| ${measure} | ${shown(e)} | ${shown(s)} | ${shown(h)} | ${(h / e).toFixed(2)}x | ${(h / s).toFixed(2)}x | ${target} | ${met ? (met(h / e) ? "yes" : "no") : ""} |\n`;
  }
  return text;
}

async function main() {
  const version = chromiumVersion();
  if (!version) {
    console.error(NOT_INSTALLED);
    return SKIPPED;
  }
  const { folders, id } = prepareRun();
  const loadBefore = os.loadavg();
  let browser = null;
  try {
    let devtools;
    ({ browser, devtools } = await launchWithExtension(
      folders,
      id,
      {
        environment: {
          XDG_RUNTIME_DIR: folders.temporary,
          TAVMO_BROWSER_TEST_HOST: options.host,
          TAVMO_BROWSER_TEST_ORIGIN: FACTS.extensionOrigin,
          // What the script host answers with (bench/script_host.py).
          TAVMO_HOST_VERSION: FACTS.hostVersion,
        },
      },
      WAIT_MS,
    ));
    const page = await openMeasuringPage(devtools, id);
    // Only a cross-origin isolated page (the manifest asks for it) has a
    // clock finer than 0.1 ms.
    const isolated = await page.evaluate("crossOriginIsolated");
    const samples = await measure(page);
    await devtools.send("Browser.close").catch(() => {});
    const load = (averages) => `${averages[0].toFixed(2)} (1 min), ${averages[1].toFixed(2)} (5 min)`;
    console.log(
      `Machine: ${os.hostname()}, ${os.cpus()[0]?.model ?? "unknown processor"}, ${os.cpus().length} cores, ${os.type()} ${os.release()}\n` +
        `Browser: ${version}, headless, one session; page clock ${isolated ? "fine (cross-origin isolated)" : "0.1 ms steps"}\n` +
        `Date: ${new Date().toISOString().slice(0, 16).replace("T", " ")} UTC\n` +
        `Load average before: ${load(loadBefore)}; after: ${load(os.loadavg())}\n` +
        `Sizes: ${options.requests} pipelined requests, ${options.pingpong} ping-pongs, ${options.connects} connects ` +
        `per program and run; ${options.runs} runs, the programs interleaved; each figure the median over the runs ` +
        `(the connects: over all of them)\n\n` +
        table(samples),
    );
    return 0;
  } catch (error) {
    console.error(`browser-bench: failed: ${error.stack}\nbrowser log: ${path.join(folders.run, "browser.log")}`);
    return 1;
  } finally {
    if (browser) killBrowser(browser);
  }
}

process.exitCode = await main();
