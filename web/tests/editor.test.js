// The editor page in headless Chromium, worked with the mouse and the
// keyboard as a person would, against the real plug-in in the wasm build.
'use strict';

const { test, before, after, beforeEach, afterEach } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { chromium } = require('playwright-core');

const ROOT = path.resolve(__dirname, '..', '..');
const DIST = path.join(ROOT, 'web', 'dist');
const MIRTIL_HOST = process.env.MIRTIL_HOST || path.join(ROOT, 'build', 'bin', 'mirtil-host');
const QUARTER = Math.PI / 2;

// A drawing that no mirror line maps onto itself, on white paper.
const ASYMMETRIC_SVG = `<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200" viewBox="0 0 200 200">
  <g id="art">
    <rect id="paper" x="0" y="0" width="200" height="200" fill="#ffffff"/>
    <circle id="disc" cx="135" cy="82" r="14" fill="#ff0000"/>
    <rect id="bar" x="112" y="60" width="40" height="6" fill="#0000ff"/>
    <path id="wedge" d="M 110 95 L 160 70 L 150 92 Z" fill="#00a000"/>
  </g>
</svg>
`;

let server;
let baseURL;
let browser;
let context;
let page;
let folder;

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml' };

before(async () => {
  server = http.createServer((request, response) => {
    const name = path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^\/+/, '');
    const file = path.join(DIST, name || 'index.html');
    if (!file.startsWith(DIST) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  baseURL = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--disable-quic'],
  });
});

after(async () => {
  await browser?.close();
  server?.close();
});

beforeEach(async () => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'mirrortile-web-'));
  // A fresh profile for every test: its own local storage.
  context = await browser.newContext({ viewport: { width: 1200, height: 800 }, acceptDownloads: true });
  page = await context.newPage();
  page.on('pageerror', (error) => { throw error; });
});

afterEach(async () => {
  await context.close();
  fs.rmSync(folder, { recursive: true, force: true });
});

async function load() {
  await page.goto(baseURL);
  await page.waitForSelector('body[data-ready="true"]');
}

const state = () => page.evaluate(() => JSON.parse(window.editor.host.state()));
const svgText = () => page.evaluate(() => window.editor.host.svg());

// The top-level art of the drawing on the canvas, by id.
const artIds = () => page.evaluate(() => window.editor.allArt());

// The window's point of a document point.
async function screenPoint(x, y) {
  return page.evaluate(([px, py]) => {
    const point = new DOMPoint(px, py).matrixTransform(window.editor.svg.getScreenCTM());
    return { x: point.x, y: point.y };
  }, [x, y]);
}

async function mouseDrag(from, to, steps = 8, during = null) {
  const a = await screenPoint(from.x, from.y);
  const b = await screenPoint(to.x, to.y);
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  for (let i = 1; i <= steps; ++i) {
    await page.mouse.move(a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps);
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
  }
  if (during) await during();
  await page.mouse.up();
}

async function click(x, y, options = {}) {
  const p = await screenPoint(x, y);
  await page.mouse.click(p.x, p.y, options);
}

async function openDrawing(name, text) {
  const file = path.join(folder, name);
  fs.writeFileSync(file, text);
  await page.setInputFiles('#open-file', file);
  await page.waitForFunction((n) => window.editor.history.some((line) => line.includes(n)), name);
}

// The plug-in objects of the host's JSON dump, with their dictionaries.
async function mirrortiles() {
  const dump = await page.evaluate(() => {
    window.editor.host.run('dump "/dump.json"');
    return JSON.parse(window.editor.host.file('/dump.json'));
  });
  const found = [];
  const walk = (arts) => arts.forEach((art) => {
    if (art.plugin) found.push(art);
    walk(art.children || []);
  });
  dump.layers.forEach((layer) => walk(layer.art || []));
  return found;
}

test('the page loads on the demo drawing with the tool, its icon, layers, menu and hint', async () => {
  await load();
  const s = await state();
  assert.equal(s.objects, 2);
  assert.deepEqual(s.layers.map((layer) => layer.title), ['Shapes', 'Discs', 'Stripes']);
  assert.match(await page.getAttribute('#tool-mirrortile img', 'src'), /^data:image\/png;base64,/);
  assert.match(await page.textContent('#hint'), /Mirrortile tool/);
  await page.click('#menu-button');
  assert.ok(await page.isVisible('#menu li:has-text("Rotate Mirrortiles")'));
  assert.ok(await page.isVisible('#menu li:has-text("About Mirrortile")'));
  // The page outline is drawn over the page.
  assert.equal(await page.locator('#editor-overlay rect').count(), 1);
});

test('a drawing opens from the file picker and by dropping it on the canvas', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  assert.deepEqual(await artIds(), ['paper', 'disc', 'bar', 'wedge']);
  assert.equal((await state()).objects, 0);

  const dropped = ASYMMETRIC_SVG.replace('id="disc"', 'id="dropped-disc"');
  const transfer = await page.evaluateHandle((text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], 'dropped.svg', { type: 'image/svg+xml' }));
    return data;
  }, dropped);
  await page.dispatchEvent('#canvas', 'drop', { dataTransfer: transfer });
  await page.waitForFunction(() => window.editor.allArt().includes('dropped-disc'));
});

test('dragging the tool shows the construction lines, then leaves one object and no lines', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  const before = (await artIds()).length;
  let during = 0;
  let cursorDuring = null;
  await mouseDrag({ x: 100, y: 100 }, { x: 180, y: 100 }, 8, async () => {
    during = (await artIds()).length;
    cursorDuring = await page.getAttribute('#canvas', 'data-cursor');
  });
  // A Sweep drag draws the circle and the wedge.
  assert.equal(during, before + 2);
  const after = await state();
  assert.equal(after.objects, 1);
  assert.equal((await artIds()).length, before + 1);
  assert.deepEqual(after.alerts, []);
  // The cursor is the module's, as a CSS cursor made from its resource.
  await page.mouse.move(10, 400);
  const p = await screenPoint(20, 20);
  await page.mouse.move(p.x, p.y);
  await page.waitForFunction(() => document.getElementById('canvas').dataset.cursor !== '');
  const cursor = await page.evaluate(() => getComputedStyle(document.getElementById('canvas')).cursor);
  assert.match(cursor, /^url\("data:image\/png;base64,/);
  assert.ok(['116', '118', '119'].includes(await page.getAttribute('#canvas', 'data-cursor')), String(cursorDuring));
});

test('a drag over empty space is refused with the alert, as a modal message', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  // Zoomed out, the canvas shows space beside the page.
  for (let i = 0; i < 4; ++i) await page.click('#zoom-out');
  assert.equal(await page.textContent('#zoom-level'), String(Math.round(await page.evaluate(() => window.editor.view.zoom * 100))) + '%');
  await mouseDrag({ x: -200, y: 100 }, { x: -180, y: 100 });
  await page.waitForSelector('#alert[open]');
  assert.equal(await page.textContent('#alert-text'), 'No art in region - no mirrortile created');
  assert.equal((await state()).objects, 0);
  await page.click('#alert button');
  assert.equal(await page.isVisible('#alert'), false);
});

test('selecting an object and dragging the tool a quarter round turns it a quarter', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  await mouseDrag({ x: 100, y: 100 }, { x: 180, y: 100 });
  const [made] = await artIds().then((ids) => ids.slice(-1));
  await page.click('#tool-select');
  await click(100, 100);
  assert.deepEqual(await page.evaluate(() => window.editor.selection), [made]);
  assert.equal(await page.locator('.selection-box').count(), 1);
  await page.click('#tool-mirrortile');
  await mouseDrag({ x: 180, y: 100 }, { x: 100, y: 180 }, 12);
  const [object] = await mirrortiles();
  // Clockwise on the page is a negative turn in the host.
  assert.ok(Math.abs(object.plugin.dictionary['Mir-Angle'][0] + QUARTER) < 1e-3,
    JSON.stringify(object.plugin.dictionary['Mir-Angle']));
});

test('Rotate Mirrortiles runs on the host clock, driven by animation frames', async () => {
  await page.clock.install();
  await load();
  // Time moves only when the test moves it.
  await page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000));
  const start = await state();
  const first = await svgText();
  await page.click('#menu-button');
  await page.click('#menu li:has-text("Rotate Mirrortiles")');
  assert.ok((await state()).menus.find((item) => item.text === 'Rotate Mirrortiles').checked);
  await page.click('#menu-button');
  assert.equal(await page.getAttribute('#menu li:has-text("Rotate Mirrortiles")', 'class'), 'checked ');
  await page.click('#menu-button');
  await page.clock.runFor(1000);
  const later = await state();
  // One simulated second is about 60 ticks of the host's clock.
  assert.ok(later.clock - start.clock >= 55 && later.clock - start.clock <= 61, String(later.clock));
  const frame = await svgText();
  assert.notEqual(frame, first);
  await page.clock.runFor(500);
  assert.notEqual(await svgText(), frame);
});

test('the options dialog keeps OK, forgets Cancel, and is kept after a reload', async () => {
  await load();
  await page.dblclick('#tool-mirrortile');
  await page.waitForSelector('#resource-dialog[open]');
  assert.equal(await page.textContent('#resource-dialog .title'), 'Mirrortile preferences');
  await page.fill('[data-item="1000"]', '24');
  await page.fill('[data-item="1001"]', '3');
  await page.check('[data-item="1006"] input');
  await page.click('[data-item="1"]');
  assert.equal(await page.isVisible('#resource-dialog'), false);

  await page.dblclick('#tool-mirrortile');
  assert.equal(await page.inputValue('[data-item="1000"]'), '24');
  await page.fill('[data-item="1000"]', '77');
  await page.click('[data-item="2"]');

  await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  await page.dblclick('#tool-mirrortile');
  assert.equal(await page.inputValue('[data-item="1000"]'), '24');
  assert.equal(await page.inputValue('[data-item="1001"]'), '3');
  assert.equal(await page.isChecked('[data-item="1006"] input'), true);
  assert.match(await page.evaluate(() => localStorage.getItem('mirrortile.preferences')), /Mirtil\/Steps=24/);
});

test('undo and redo by button and by key take back and bring back a whole drag', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  await mouseDrag({ x: 100, y: 100 }, { x: 180, y: 100 });
  assert.equal((await state()).objects, 1);
  await page.click('#undo');
  assert.equal((await state()).objects, 0);
  await page.click('#redo');
  assert.equal((await state()).objects, 1);
  await page.keyboard.press('Control+z');
  assert.equal((await state()).objects, 0);
  await page.keyboard.press('Control+Shift+z');
  assert.equal((await state()).objects, 1);
});

test('Expand replaces the selected object by plain art, undone in one step', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  await mouseDrag({ x: 100, y: 100 }, { x: 180, y: 100 });
  await page.click('#tool-select');
  await click(100, 100);
  await page.click('#expand');
  assert.equal((await state()).objects, 0);
  assert.doesNotMatch(await svgText(), /<mirtil:/);
  assert.equal((await artIds()).length, 5);
  await page.keyboard.press('Control+z');
  assert.equal((await state()).objects, 1);
});

test('the saved download is byte for byte what mirtil-host saves for the same steps', async () => {
  await load();
  // A move with the selection tool, a new layer, and an object on it.
  await page.click('#tool-select');
  await click(600, 40);
  await mouseDrag({ x: 600, y: 40 }, { x: 620, y: 60 }, 4);
  await page.fill('#layer-name', 'Top');
  await page.click('#layer-add button');
  await page.click('#tool-select');
  await click(300, 440);
  await page.click('#tool-mirrortile');
  await mouseDrag({ x: 300, y: 120 }, { x: 360, y: 150 });
  // The dialogs' messages, Cancel's 'STOP' among them, are the session's too.
  await page.dblclick('#tool-mirrortile');
  await page.fill('[data-item="1000"]', '40');
  await page.click('[data-item="1"]');
  await page.click('#menu-button');
  await page.click('#menu li:has-text("About Mirrortile")');
  await page.click('#resource-dialog');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  const saved = fs.readFileSync(await download.path(), 'utf8');

  const history = await page.evaluate(() => window.editor.history);

  assert.equal(history[0], 'open "/demo.svg"');
  assert.ok(history.some((line) => line.startsWith('move ')), history.join('\n'));
  assert.ok(history.includes("expect result 'STOP'"), history.join('\n'));
  const script = path.join(folder, 'steps.mirtil');
  fs.writeFileSync(script, history.slice(1).join('\n') + '\n');
  const native = path.join(folder, 'native.svg');
  execFileSync(MIRTIL_HOST, ['run', script, '--open', path.join(DIST, 'demo.svg'), '--save', native,
    '--prefs', path.join(folder, 'prefs')]);
  assert.equal(saved, fs.readFileSync(native, 'utf8'));
});

test('the screenshot of a Sweep object is its own mirror image across its mirror lines', async () => {
  await load();
  await openDrawing('asymmetric.svg', ASYMMETRIC_SVG);
  await mouseDrag({ x: 100, y: 100 }, { x: 180, y: 100 });
  await page.evaluate(() => { window.editor.selection = []; window.editor.drawSelection(); });
  const [object] = await mirrortiles();
  const [cx, cy] = object.plugin.dictionary['Mir-Cnt-XY'];
  const shot = await page.screenshot({ type: 'png' });
  // The share of points well inside the hexagon (inner radius about 69)
  // whose image across the line through the centre at `degrees` has
  // another colour on the screenshot; the image falls between pixels, so
  // any of its neighbours will do.
  const asymmetry = (degrees) => page.evaluate(async ([base64, centre, line]) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + base64;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.width;
    canvas.height = image.height;
    const context2d = canvas.getContext('2d');
    context2d.drawImage(image, 0, 0);
    const pixels = context2d.getImageData(0, 0, image.width, image.height).data;
    const ctm = window.editor.svg.getScreenCTM();
    const screen = (x, y) => new DOMPoint(x, y).matrixTransform(ctm);
    const at = (x, y) => {
      const i = (y * image.width + x) * 4;
      return [pixels[i], pixels[i + 1], pixels[i + 2]];
    };
    // Anti-aliased edges may differ this much per channel.
    const alike = (p, q) => p.every((value, c) => Math.abs(value - q[c]) <= 48);
    const m = line * Math.PI / 180;
    let compared = 0;
    let differing = 0;
    let red = 0;
    for (let dy = -60; dy <= 60; dy += 1) {
      for (let dx = -60; dx <= 60; dx += 1) {
        if (Math.hypot(dx, dy) > 60) continue;
        const p = screen(centre[0] + dx, -centre[1] + dy);
        const here = at(Math.floor(p.x), Math.floor(p.y));
        if (here[0] > 200 && here[1] < 60 && here[2] < 60) red += 1;
        // Across the line in the page's own coordinates (y downward).
        const mx = Math.cos(2 * m) * dx - Math.sin(2 * m) * dy;
        const my = -Math.sin(2 * m) * dx - Math.cos(2 * m) * dy;
        const q = screen(centre[0] + mx, -centre[1] + my);
        let matched = false;
        for (let ny = -1; ny <= 1; ++ny) {
          for (let nx = -1; nx <= 1; ++nx) matched = matched || alike(here, at(Math.floor(q.x) + nx, Math.floor(q.y) + ny));
        }
        compared += 1;
        if (!matched) differing += 1;
      }
    }
    return { share: differing / compared, red };
  }, [shot.toString('base64'), [cx, cy], degrees]);
  for (const line of [0, 60, 120]) {
    const { share, red } = await asymmetry(line);
    // Six copies of the disc: the symmetry is not that of an empty picture.
    assert.ok(red > 6 * 200, `only ${red} red points`);
    assert.ok(share < 0.03, `${(share * 100).toFixed(1)}% differ across the line at ${line} degrees`);
  }
  // A line that is no mirror line shows the test can tell.
  assert.ok((await asymmetry(30)).share > 0.1);
});

test('Export PNG and Export animation download the picture and the animated SVG', async () => {
  await load();
  const [png] = await Promise.all([page.waitForEvent('download'), page.click('#export-png')]);
  const picture = fs.readFileSync(await png.path());
  assert.equal(picture.subarray(1, 4).toString(), 'PNG');
  // The page is 640 by 400 points, one pixel a point.
  assert.equal(picture.readUInt32BE(16), 640);
  assert.equal(picture.readUInt32BE(20), 400);
  const before = await svgText();
  const [animation] = await Promise.all([page.waitForEvent('download'), page.click('#export-animation')]);
  const text = fs.readFileSync(await animation.path(), 'utf8');
  assert.match(text, /<animate /);
  assert.ok((text.match(/<animate /g) || []).length > 2);
  // The page's own document and clock are as they were.
  assert.equal(await svgText(), before);
  assert.equal((await state()).clock, 0);
});

// A red square under a white paper, made into a Sweep (type 1) or InPlace
// (type 0) object pressed at (100, 100), turned by 0.7 if asked; the art is
// then painted white, so any gap between cells shows white.
const SEAM_SVG = `<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200" viewBox="0 0 200 200">
  <rect id="paper" x="0" y="0" width="200" height="200" fill="#ffffff"/>
  <rect id="art" x="10" y="10" width="180" height="180" fill="#d62828"/>
</svg>
`;
const RED = [0xd6, 0x28, 0x28];

async function makeSeamCase(type, turned) {
  await openDrawing(`seam-${type}-${turned ? 'turned' : 'straight'}.svg`, SEAM_SVG);
  const release = type === 1 ? [170, 100] : [100, 140];
  const lines = [`prefs type=${type}`, `drag 100 100 ${release[0]} ${release[1]}`];
  if (turned) {
    // A drag about the hexagon's centre turns it by the angle swept.
    const y = release[1];
    lines.push('select @last', `drag 170 ${y} ${100 + 70 * Math.cos(0.7)} ${y - 70 * Math.sin(0.7)}`, 'select none');
  }
  lines.push('paint paper fill=#ffffff', 'paint art fill=#ffffff');
  const answers = await page.evaluate((all) => all.map((line) => JSON.parse(window.editor.host.run(line))), lines);
  answers.forEach((answer, i) => assert.equal(answer.error, undefined, `${lines[i]}: ${answer.error}`));
  const [object] = await mirrortiles();
  const angle = object.plugin.dictionary['Mir-Angle'][0];
  assert.ok(Math.abs(Math.sin(angle - (turned ? 0.7 : 0))) < 1e-3, `angle ${angle}`);
}

// Pixels at least one pixel inside the hexagon whose colour is more than
// 2/255 from red in the picture (a PNG, or an SVG drawn at one pixel a
// point), and how many pixels were judged.
function offColourPixels(picture, type) {
  return page.evaluate(async ([source, hexagonType, red]) => {
    const image = new Image();
    image.src = source;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = 200;
    canvas.height = 200;
    const context2d = canvas.getContext('2d');
    context2d.drawImage(image, 0, 0, 200, 200);
    const pixels = context2d.getImageData(0, 0, 200, 200).data;
    const turn = (p, about, a) => [about[0] + (p[0] - about[0]) * Math.cos(a) - (p[1] - about[1]) * Math.sin(a),
      about[1] + (p[0] - about[0]) * Math.sin(a) + (p[1] - about[1]) * Math.cos(a)];
    // The hexagon's corners about its apex: the Sweep's about the press
    // point, the InPlace's about the release point.
    const apex = hexagonType === 1 ? [100, 100] : [100, 140];
    const corner = hexagonType === 1 ? [170, 100] : turn(apex, [100, 100], -2 * Math.PI / 3);
    const corners = [0, 1, 2, 3, 4, 5].map((k) => turn(corner, apex, k * Math.PI / 3));
    const cross = (a, b) => a[0] * b[1] - a[1] * b[0];
    // How far inside the hexagon the pixel's square lies, at its nearest.
    const depth = (x, y) => Math.min(...corners.map((a, k) => {
      const b = corners[(k + 1) % 6];
      const edge = [b[0] - a[0], b[1] - a[1]];
      const length = Math.hypot(edge[0], edge[1]);
      const reach = (Math.abs(edge[0]) + Math.abs(edge[1])) / length / 2;
      const inward = cross(edge, [apex[0] - a[0], apex[1] - a[1]]) > 0 ? 1 : -1;
      return inward * cross(edge, [x + 0.5 - a[0], y + 0.5 - a[1]]) / length - reach;
    }));
    let judged = 0;
    const off = [];
    for (let y = 0; y < 200; ++y) {
      for (let x = 0; x < 200; ++x) {
        if (depth(x, y) < 1) continue;
        judged += 1;
        const i = (y * 200 + x) * 4;
        if (red.some((value, c) => Math.abs(pixels[i + c] - value) > 2)) off.push([x, y, ...pixels.slice(i, i + 3)]);
      }
    }
    return { judged, off: off.slice(0, 5), count: off.length };
  }, [picture, type, RED]);
}

for (const [type, name] of [[1, 'Sweep'], [0, 'InPlace']]) {
  test(`a red square under a ${name} hexagon stays red across the mirror lines in Export PNG and Export seam-free`,
    async () => {
      await load();
      for (const turned of [false, true]) {
        await makeSeamCase(type, turned);
        const [png] = await Promise.all([page.waitForEvent('download'), page.click('#export-png')]);
        const inPng = await offColourPixels(
          'data:image/png;base64,' + fs.readFileSync(await png.path()).toString('base64'), type);
        const [copy] = await Promise.all([page.waitForEvent('download'), page.click('#export-seam-free')]);
        assert.equal(copy.suggestedFilename(), 'drawing-seam-free.svg');
        const text = fs.readFileSync(await copy.path(), 'utf8');
        // A copy of the result alone: no live object to open again.
        assert.doesNotMatch(text, /mirtil:plugin/);
        const inCopy = await offColourPixels('data:image/svg+xml;charset=utf-8,' + encodeURIComponent(text), type);
        for (const [where, found] of [['PNG', inPng], ['seam-free SVG', inCopy]]) {
          assert.ok(found.judged > 5000, `${where}: only ${found.judged} pixels inside the hexagon`);
          assert.equal(found.count, 0, `${where}, turned ${turned}: ${JSON.stringify(found.off)}`);
        }
      }
    });
}

test('the about box comes from the menu and closes at a click', async () => {
  await load();
  await page.click('#menu-button');
  await page.click('#menu li:has-text("About Mirrortile")');
  await page.waitForSelector('#resource-dialog[open]');
  assert.match(await page.getAttribute('#resource-dialog img', 'src'), /^data:image\/png/);
  await page.click('#resource-dialog');
  assert.equal(await page.isVisible('#resource-dialog'), false);
});
