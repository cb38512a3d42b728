// Figures of the page over the demo drawing, printed as JSON for
// bench/report.py: in headless Chromium, the time of one drag update of the
// tool (the host's message, the document written and drawn again) and of
// one animation step; and the host's own time for the same messages in the
// wasm build (under node) and in the native program.
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');

const ROOT = path.resolve(__dirname, '..', '..');
const DIST = path.join(ROOT, 'web', 'dist');
const DRAG_UPDATES = 120;
const NATIVE_REPEATS = 5;
const NATIVE_DRAG_UPDATES = 5000;

// A drag of the tool across the demo's stripes and discs, as script lines.
function dragLines(updates) {
  const lines = ['select none', 'press 170 200'];
  for (let i = 1; i <= updates; ++i) {
    const a = (i / updates) * 2 * Math.PI;
    lines.push(`moveto ${(170 + 120 * Math.cos(a)).toFixed(3)} ${(200 + 120 * Math.sin(a)).toFixed(3)}`);
  }
  return lines;
}

// The animation at the demo's steps of 10 degrees, at the shortest delay.
const ANIMATION_SETUP = ['select none', 'prefs steps=36 delay=1', 'menu "Rotate Mirrortiles"'];
const ANIMATION_STEPS = 20;

// Ticks from one step of the rotation to the next.
const period = (state) => state.timers.find((timer) => timer.active).period;

// Runs a line of the host; a line the host refuses stops the measuring.
function check(answer) {
  const parsed = JSON.parse(answer);
  if (parsed.error || parsed.result !== '0') throw new Error(parsed.error || `answered ${parsed.result}`);
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function browserFigures() {
  const { chromium } = require('playwright-core');
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname.replace(/^\/+/, '') || 'index.html';
    const file = path.join(DIST, path.normalize(name));
    if (!file.startsWith(DIST) || !fs.existsSync(file)) return response.writeHead(404).end();
    const type = { '.wasm': 'application/wasm', '.js': 'text/javascript', '.svg': 'image/svg+xml' }[path.extname(file)];
    response.writeHead(200, type ? { 'Content-Type': type } : {});
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--disable-quic'],
  });
  try {
    const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForSelector('body[data-ready="true"]');
    return await page.evaluate(([drag, animation, count]) => {
      const editor = window.editor;
      // Each update as the page makes it, with the browser's layout of the
      // new drawing forced before the clock is read.
      const timed = (act) => {
        const start = performance.now();
        act();
        editor.svg.getBoundingClientRect();
        document.body.offsetHeight;
        return performance.now() - start;
      };
      editor.run(drag[0]);
      editor.run(drag[1]);
      const updates = drag.slice(2).map((line) => timed(() => { editor.send(line); editor.refreshDrawing(); }));
      editor.run(`release ${drag[drag.length - 1].slice(7)}`);
      editor.run('undo');
      animation.forEach((line) => editor.run(line));
      const ticks = editor.state.timers.find((timer) => timer.active).period;
      const steps = [];
      for (let i = 0; i < count; ++i) {
        steps.push(timed(() => { editor.host.advanceClock(ticks); editor.refreshDrawing(); }));
      }
      if (editor.history.length < drag.length + animation.length) throw new Error('the host refused a line');
      return { updates, steps };
    }, [dragLines(DRAG_UPDATES), ANIMATION_SETUP, ANIMATION_STEPS]);
  } finally {
    await browser.close();
    server.close();
  }
}

// The host alone in the wasm build: the same messages, no drawing.
async function wasmFigures() {
  const create = require(path.join(DIST, 'mirrortile.js'));
  const module = await create({ wasmBinary: fs.readFileSync(path.join(DIST, 'mirrortile.wasm')) });
  const editor = new module.Editor('');
  editor.putFile('/demo.svg', fs.readFileSync(path.join(DIST, 'demo.svg'), 'utf8'));
  check(editor.run('open "/demo.svg"'));
  const drag = dragLines(DRAG_UPDATES);
  check(editor.run(drag[0]));
  check(editor.run(drag[1]));
  const updates = drag.slice(2).map((line) => {
    const start = performance.now();
    check(editor.run(line));
    return performance.now() - start;
  });
  check(editor.run(`release ${drag[drag.length - 1].slice(7)}`));
  check(editor.run('undo'));
  ANIMATION_SETUP.forEach((line) => check(editor.run(line)));
  const ticks = period(JSON.parse(editor.state()));
  const steps = [];
  for (let i = 0; i < ANIMATION_STEPS; ++i) {
    const start = performance.now();
    editor.advanceClock(ticks);
    steps.push(performance.now() - start);
  }
  editor.delete();
  return { updates, steps, ticks };
}

// The native program: a run with the messages less a run without them,
// the best of a few, divided by their number; many more drag updates, for
// them to stand out of the program's start.
function nativeFigures(ticks) {
  const host = process.env.MIRTIL_HOST || path.join(ROOT, 'build', 'bin', 'mirtil-host');
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'mirrortile-bench-'));
  const run = (lines) => {
    const script = path.join(folder, 'steps.mirtil');
    fs.writeFileSync(script, lines.join('\n') + '\n');
    let best = Infinity;
    for (let i = 0; i < NATIVE_REPEATS; ++i) {
      const start = performance.now();
      execFileSync(host, ['run', script, '--open', path.join(DIST, 'demo.svg'), '--prefs', path.join(folder, 'prefs')]);
      best = Math.min(best, performance.now() - start);
    }
    return best;
  };
  try {
    const drag = dragLines(NATIVE_DRAG_UPDATES);
    const update = (run(drag) - run(drag.slice(0, 2))) / NATIVE_DRAG_UPDATES;
    const step = (run([...ANIMATION_SETUP, `wait ${(ANIMATION_STEPS * ticks) / 60}`]) - run(ANIMATION_SETUP)) /
      ANIMATION_STEPS;
    return { update, step };
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

(async () => {
  const browser = await browserFigures();
  const wasm = await wasmFigures();
  const native = nativeFigures(wasm.ticks);
  console.log(JSON.stringify({
    browser: { update: median(browser.updates), step: median(browser.steps) },
    wasm: { update: median(wasm.updates), step: median(wasm.steps) },
    native,
    dragUpdates: DRAG_UPDATES,
    animationSteps: ANIMATION_STEPS,
  }));
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
