import assert from "node:assert/strict";
import fs from "node:fs";
import { test } from "node:test";
import { generatedFiles } from "../scripts/generate.mjs";
import { EVENT_CODES, EVENT_NAMES, PORTAL_ANSWER_TYPES } from "../src/events.js";

test("the generated files match protocol/catalogue.json (cmake --build build --target protocol-catalogue)", () => {
  for (const [file, text] of Object.entries(generatedFiles())) assert.equal(fs.readFileSync(file, "utf8"), text, file);
});

test("event names and codes map one to one, as the issue's examples name them", () => {
  for (const [name, code] of Object.entries(EVENT_CODES)) assert.equal(EVENT_NAMES[code], name);
  assert.equal(Object.keys(EVENT_NAMES).length, Object.keys(EVENT_CODES).length);
  assert.equal(EVENT_CODES.callState, 2500);
  assert.equal(EVENT_CODES.chatMessage, 2600);
  assert.ok(PORTAL_ANSWER_TYPES.includes("OutEventJoinConference"));
});
