// The facts the programs share (the extension's origin, the host's name and
// version), as the build generated them from cmake/Facts.cmake into
// facts.json in the build folder, which $TAVMO_FACTS names.
import fs from "node:fs";

export function buildFacts() {
  const file = process.env.TAVMO_FACTS;
  if (!file) throw new Error("TAVMO_FACTS does not name the build folder's facts.json");
  return JSON.parse(fs.readFileSync(file, "utf8"));
}
