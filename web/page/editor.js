// The editor page around the stand-in host: the host runs in the wasm
// module and is driven with the lines of mirtil-host's script language;
// the page draws the document it writes with the browser's SVG renderer.
'use strict';

const PREFERENCES_KEY = 'mirrortile.preferences';
const ROTATE_COMMAND = 'Rotate Mirrortiles';
const OPTIONS_DIALOG = 108;
const ABOUT_DIALOG = 16002;
const RESOURCE_BITMAP = 2;
const RESOURCE_CURSOR = 12;
const RESOURCE_ICON = 14;
const TICKS_PER_SECOND = 60;
// Dialog units of an 8-point dialog font, in pixels.
const DIALOG_UNIT_X = 1.5;
const DIALOG_UNIT_Y = 1.625;
// Items of the options dialog.
const OK_BUTTON = 1;
const STEPS_FIELD = 1000;
const DELAY_FIELD = 1001;
const SWEEP_BUTTON = 1007;
const SVG_NS = 'http://www.w3.org/2000/svg';

const $ = (id) => document.getElementById(id);

class Editor {
  constructor(module) {
    this.module = module;
    this.host = new module.Editor(localStorage.getItem(PREFERENCES_KEY) || '');
    // The lines that changed the session, as a script of mirtil-host.
    this.history = [];
    this.selection = [];
    this.tool = 'mirrortile';
    this.view = { zoom: 1, x: 0, y: 0 };
    this.cursors = {};
    this.animating = false;
    this.state = null;
  }

  // ---- The host -------------------------------------------------------
  quote(text) { return '"' + String(text).replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"'; }

  // Sends a script line to the host. The lines that reached the host make
  // the session's history, a script that mirtil-host runs to the same
  // document (the plug-in answers every message it hears, and the host
  // brings objects up to date after each, so all of them count).
  send(line) {
    const answer = JSON.parse(this.host.run(line));
    if (answer.error) {
      this.showAlert(answer.error);
      return answer;
    }
    this.history.push(line);
    if (answer.result !== '0') this.history.push(`expect result ${answer.result}`);
    return answer;
  }

  // Sends the line and shows what it changed.
  run(line) {
    const answer = this.send(line);
    this.refresh();
    return answer;
  }

  refresh() {
    this.state = JSON.parse(this.host.state());
    if (this.state.preferences) localStorage.setItem(PREFERENCES_KEY, this.state.preferences);
    this.drawDocument();
    this.drawLayers();
    this.drawMenu();
    this.showCursor();
    if (this.state.alerts.length) this.showAlert(this.state.alerts.join('\n'));
    const timing = this.state.timers.some((timer) => timer.active);
    if (timing && !this.animating) this.animate();
  }

  // ---- Drawing --------------------------------------------------------
  drawDocument() {
    const parsed = new DOMParser().parseFromString(this.host.svg(), 'image/svg+xml');
    const svg = document.importNode(parsed.documentElement, true);
    const box = svg.viewBox.baseVal;
    svg.setAttribute('width', box.width);
    svg.setAttribute('height', box.height);
    this.page = { x: box.x, y: box.y, width: box.width, height: box.height };
    const stage = $('stage');
    stage.replaceChildren(svg);
    this.svg = svg;
    this.overlay = document.createElementNS(SVG_NS, 'g');
    this.overlay.setAttribute('id', 'editor-overlay');
    this.overlay.setAttribute('pointer-events', 'none');
    svg.appendChild(this.overlay);
    // The page outline.
    this.overlay.appendChild(this.shape('rect', { x: box.x, y: box.y, width: box.width, height: box.height,
      fill: 'none', stroke: '#4a6fb0', 'stroke-dasharray': '4 3', 'vector-effect': 'non-scaling-stroke' }));
    // Art the tool made since the press is its feedback, drawn as the
    // host draws tool previews: thin lines.
    if (this.artBeforePress) {
      for (const id of this.allArt(true)) {
        if (!this.artBeforePress.has(id)) this.artElement(id).classList.add('feedback');
      }
    }
    this.selection = this.selection.filter((id) => this.artElement(id));
    this.drawSelection();
    this.placeStage();
  }

  shape(name, attributes) {
    const element = document.createElementNS(SVG_NS, name);
    for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
    return element;
  }

  drawSelection() {
    this.overlay.querySelectorAll('.selection-box').forEach((box) => box.remove());
    for (const id of this.selection) {
      const box = this.boundsOf(this.artElement(id));
      if (!box) continue;
      const rect = this.shape('rect', { class: 'selection-box', x: box.x, y: box.y, width: box.width,
        height: box.height, fill: 'none', stroke: '#1e88e5', 'stroke-width': 1, 'vector-effect': 'non-scaling-stroke' });
      this.overlay.appendChild(rect);
    }
  }

  // The box of what the element shows, in document coordinates: the
  // host's own elements and definitions show nothing, a clipped group no
  // more than its clipping path.
  boundsOf(element) {
    if (!element || element.namespaceURI !== SVG_NS) return null;
    if (['clipPath', 'defs', 'mask', 'metadata', 'title', 'desc', 'style'].includes(element.localName)) return null;
    const clip = /url\(#([^)]+)\)/.exec(element.getAttribute('clip-path') || '');
    if (clip) {
      const path = this.svg.getElementById(clip[1]);
      return path ? this.union([...path.children].map((child) => this.boxIn(child, element))) : null;
    }
    if (['g', 'a', 'svg', 'switch'].includes(element.localName)) {
      return this.union([...element.children].map((child) => this.boundsOf(child)));
    }
    return this.boxIn(element, element);
  }

  // The shape's own box, in the user space of `space`, in document coordinates.
  boxIn(shape, space) {
    if (typeof shape.getBBox !== 'function') return null;
    const box = shape.getBBox();
    const toDocument = this.svg.getScreenCTM().inverse().multiply(space.getScreenCTM());
    const corners = [[box.x, box.y], [box.x + box.width, box.y], [box.x, box.y + box.height],
      [box.x + box.width, box.y + box.height]].map(([x, y]) => new DOMPoint(x, y).matrixTransform(toDocument));
    const xs = corners.map((p) => p.x);
    const ys = corners.map((p) => p.y);
    return { x: Math.min(...xs), y: Math.min(...ys), width: Math.max(...xs) - Math.min(...xs),
      height: Math.max(...ys) - Math.min(...ys) };
  }

  union(boxes) {
    const present = boxes.filter((box) => box);
    if (!present.length) return null;
    const left = Math.min(...present.map((b) => b.x));
    const top = Math.min(...present.map((b) => b.y));
    const right = Math.max(...present.map((b) => b.x + b.width));
    const bottom = Math.max(...present.map((b) => b.y + b.height));
    return { x: left, y: top, width: right - left, height: bottom - top };
  }

  placeStage() {
    $('stage').style.transform = `translate(${this.view.x}px, ${this.view.y}px) scale(${this.view.zoom})`;
    $('zoom-level').textContent = Math.round(this.view.zoom * 100) + '%';
  }

  zoomAt(factor, clientX, clientY) {
    const canvas = $('canvas').getBoundingClientRect();
    const x = clientX - canvas.left;
    const y = clientY - canvas.top;
    const zoom = Math.min(32, Math.max(0.05, this.view.zoom * factor));
    this.view.x = x - (x - this.view.x) * (zoom / this.view.zoom);
    this.view.y = y - (y - this.view.y) * (zoom / this.view.zoom);
    this.view.zoom = zoom;
    this.placeStage();
    this.drawSelection();
  }

  fit() {
    const canvas = $('canvas').getBoundingClientRect();
    const margin = 24;
    const zoom = Math.min((canvas.width - 2 * margin) / this.page.width, (canvas.height - 2 * margin) / this.page.height);
    this.view = { zoom, x: (canvas.width - this.page.width * zoom) / 2, y: (canvas.height - this.page.height * zoom) / 2 };
    this.placeStage();
    this.drawSelection();
  }

  // A point of the window in the document's coordinates.
  toDocument(clientX, clientY) {
    const point = new DOMPoint(clientX, clientY).matrixTransform(this.svg.getScreenCTM().inverse());
    return { x: point.x, y: point.y };
  }

  // ---- Art --------------------------------------------------------------
  // Layers are the top-level groups; art is what sits directly in them.
  layerGroups() {
    return [...this.svg.children].filter((child) => child.localName === 'g' && child !== this.overlay);
  }

  artElement(id) {
    const element = this.svg.querySelector(`[id="${CSS.escape(id)}"]`);
    return element && this.layerGroups().includes(element.parentNode) ? element : null;
  }

  layerOf(group) {
    const title = group.getAttributeNS('http://www.inkscape.org/namespaces/inkscape', 'label') || group.id;
    return this.state.layers.find((layer) => layer.title === title);
  }

  // The selectable art under the point: in a shown, unlocked layer.
  artAt(target) {
    for (let element = target; element && element !== this.svg; element = element.parentNode) {
      const parent = element.parentNode;
      if (this.layerGroups().includes(parent)) {
        const layer = this.layerOf(parent);
        return layer && layer.visible && layer.editable && element.id ? element.id : null;
      }
    }
    return null;
  }

  select(ids) {
    this.selection = [...new Set(ids)];
    this.run(this.selection.length ? 'select ' + this.selection.map((id) => this.quote(id)).join(' ') : 'select none');
  }

  // The art of the shown, unlocked layers; of every layer with `all`.
  allArt(all = false) {
    const ids = [];
    for (const group of this.layerGroups()) {
      const layer = this.layerOf(group);
      if (!all && (!layer || !layer.visible || !layer.editable)) continue;
      for (const child of group.children) if (child.id) ids.push(child.id);
    }
    return ids;
  }

  // ---- Cursors and images from the module's resources --------------------
  imageURL(type, id) {
    const image = this.host.image(type, id);
    if (!image) return null;
    const canvas = document.createElement('canvas');
    canvas.width = image.width;
    canvas.height = image.height;
    canvas.getContext('2d').putImageData(new ImageData(image.rgba, image.width, image.height), 0, 0);
    return { url: canvas.toDataURL('image/png'), width: image.width, height: image.height,
      hotSpotX: image.hotSpotX, hotSpotY: image.hotSpotY };
  }

  cursorFor(id) {
    if (!(id in this.cursors)) {
      const image = this.imageURL(RESOURCE_CURSOR, id);
      this.cursors[id] = image ? `url(${image.url}) ${image.hotSpotX} ${image.hotSpotY}, crosshair` : 'crosshair';
    }
    return this.cursors[id];
  }

  showCursor() {
    const canvas = $('canvas');
    if (this.tool === 'select') {
      canvas.style.cursor = 'default';
      canvas.dataset.cursor = '';
    } else if (this.state && this.state.cursor !== null) {
      canvas.style.cursor = this.cursorFor(this.state.cursor);
      canvas.dataset.cursor = this.state.cursor;
    }
  }

  // ---- Panels -------------------------------------------------------------
  drawLayers() {
    const list = $('layer-list');
    list.replaceChildren();
    for (const layer of this.state.layers) {
      const row = document.createElement('li');
      row.className = (layer.current ? 'current ' : '') + (layer.visible ? '' : 'hidden');
      row.dataset.layer = layer.title;
      const eye = document.createElement('button');
      eye.className = 'visibility';
      eye.textContent = layer.visible ? 'Hide' : 'Show';
      eye.onclick = () => this.run(`${layer.visible ? 'hide' : 'show'} ${this.quote(layer.title)}`);
      const lock = document.createElement('button');
      lock.className = 'lock';
      lock.textContent = layer.editable ? 'Lock' : 'Unlock';
      lock.onclick = () => this.run(`${layer.editable ? 'lock' : 'unlock'} ${this.quote(layer.title)}`);
      const name = document.createElement('span');
      name.className = 'name';
      name.textContent = layer.title;
      name.title = 'Make current';
      name.onclick = () => this.run(`current ${this.quote(layer.title)}`);
      row.append(eye, lock, name);
      list.appendChild(row);
    }
  }

  drawMenu() {
    const menu = $('menu');
    menu.replaceChildren();
    for (const item of this.state.menus) {
      const entry = document.createElement('li');
      entry.textContent = item.text;
      entry.className = (item.checked ? 'checked ' : '') + (item.enabled ? '' : 'disabled');
      entry.onclick = () => {
        menu.hidden = true;
        if (item.enabled) this.run(`menu ${this.quote(item.text)}`);
      };
      menu.appendChild(entry);
    }
    const about = document.createElement('li');
    about.textContent = 'About Mirrortile…';
    about.onclick = () => { menu.hidden = true; this.about(); };
    menu.appendChild(about);
  }

  // ---- Animation on the host's clock ---------------------------------------
  // Animation frames move the host's clock on by the ticks of 1/60 s that
  // have passed; the document is drawn again when a timer went off.
  animate() {
    this.animating = true;
    let last = null;
    let owed = 0;
    const frame = (now) => {
      if (last !== null) owed += (now - last) / 1000 * TICKS_PER_SECOND;
      last = now;
      const ticks = Math.floor(owed);
      if (ticks > 0) {
        owed -= ticks;
        this.host.advanceClock(ticks);
        this.refreshDrawing();
      }
      if (this.state.timers.some((timer) => timer.active)) {
        requestAnimationFrame(frame);
      } else {
        this.animating = false;
      }
    };
    requestAnimationFrame(frame);
  }

  // After a timer or a drag update: the drawing, the menu's check mark
  // and alerts; the layers stay as they are.
  refreshDrawing() {
    this.state = JSON.parse(this.host.state());
    this.drawDocument();
    this.drawMenu();
    if (this.state.alerts.length) this.showAlert(this.state.alerts.join('\n'));
  }

  // ---- Dialogs ------------------------------------------------------------------
  showAlert(text) {
    $('alert-text').textContent = text;
    if (!$('alert').open) $('alert').showModal();
  }

  // A dialog of the module's, laid out from its template in dialog units,
  // showing what the plug-in put in its items.
  layoutDialog(id) {
    const template = JSON.parse(this.host.dialog(id));
    const dialog = $('resource-dialog');
    dialog.replaceChildren();
    dialog.dataset.resource = id;
    const body = document.createElement('div');
    body.className = 'resource';
    body.style.width = template.width * DIALOG_UNIT_X + 'px';
    body.style.height = template.height * DIALOG_UNIT_Y + 'px';
    if (template.title) {
      const title = document.createElement('div');
      title.className = 'title';
      title.textContent = template.title;
      body.appendChild(title);
    }
    const radioGroup = 'resource-' + id;
    for (const item of template.items) {
      let element;
      const text = item.text.replace(/&(.)/g, '$1');
      switch (item.kind) {
        case 1: case 2:
          element = document.createElement('button');
          element.type = 'button';
          element.textContent = text;
          if (item.kind === 2) element.className = 'default';
          break;
        case 3:
          element = document.createElement('div');
          element.textContent = text;
          element.style.whiteSpace = 'pre-wrap';
          break;
        case 4:
          element = document.createElement('input');
          element.type = 'text';
          element.value = text;
          break;
        case 5: {
          element = document.createElement('label');
          const radio = document.createElement('input');
          radio.type = 'radio';
          radio.name = radioGroup;
          radio.checked = !!item.on;
          element.append(radio, text);
          break;
        }
        case 6: {
          element = document.createElement('img');
          const picture = this.imageURL(RESOURCE_BITMAP, item.bitmap);
          if (picture) element.src = picture.url;
          break;
        }
        case 7: {
          element = document.createElement('fieldset');
          const legend = document.createElement('legend');
          legend.textContent = text;
          element.appendChild(legend);
          break;
        }
        default:
          continue;
      }
      element.style.left = item.x * DIALOG_UNIT_X + 'px';
      element.style.top = item.y * DIALOG_UNIT_Y + 'px';
      element.style.width = item.width * DIALOG_UNIT_X + 'px';
      element.style.height = item.height * DIALOG_UNIT_Y + 'px';
      element.dataset.item = item.id;
      body.appendChild(element);
    }
    dialog.style.paddingTop = '34px';
    dialog.appendChild(body);
    return dialog;
  }

  item(dialog, id) { return dialog.querySelector(`[data-item="${id}"]`); }

  // The options dialog: the plug-in fills it in (a first opening closed
  // with Cancel), the user works it, and the host opens it again with the
  // user's values and the button pressed.
  options() {
    this.run('options cancel');
    const dialog = this.layoutDialog(OPTIONS_DIALOG);
    for (const button of dialog.querySelectorAll('button')) {
      button.onclick = () => {
        dialog.close();
        if (Number(button.dataset.item) !== OK_BUTTON) {
          this.run('options cancel');
          return;
        }
        const steps = this.item(dialog, STEPS_FIELD).value.trim();
        const delay = this.item(dialog, DELAY_FIELD).value.trim();
        const sweep = this.item(dialog, SWEEP_BUTTON).querySelector('input').checked;
        const line = ['options'];
        if (/^-?\d+$/.test(steps)) line.push('steps=' + steps);
        if (/^-?\d+$/.test(delay)) line.push('delay=' + delay);
        line.push('type=' + (sweep ? 'sweep' : 'inplace'), 'ok');
        this.run(line.join(' '));
      };
    }
    dialog.showModal();
  }

  // The about box, closed by a click anywhere in it.
  about() {
    this.run('about');
    const dialog = this.layoutDialog(ABOUT_DIALOG);
    dialog.onclick = () => dialog.close();
    dialog.showModal();
  }

  // ---- Files ---------------------------------------------------------------------
  open(name, text) {
    const path = '/open/' + name;
    this.host.putFile(path, text);
    this.selection = [];
    this.run(`open ${this.quote(path)}`);
    this.fit();
  }

  download(name, data, type) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([data], { type }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  save() {
    this.host.run('save "/save.svg"');
    this.download('drawing.svg', this.host.file('/save.svg'), 'image/svg+xml');
  }

  // Drawn from the seam-free copy at one pixel a point, so the cells of a
  // mirror-tile object meet without a hairline of the paper between them.
  exportPng() {
    const text = this.host.seamFreeSvg();
    const image = new Image();
    image.onload = () => {
      const canvas = document.createElement('canvas');
      canvas.width = Math.ceil(this.page.width);
      canvas.height = Math.ceil(this.page.height);
      canvas.getContext('2d').drawImage(image, 0, 0, canvas.width, canvas.height);
      canvas.toBlob((png) => this.download('drawing.png', png, 'image/png'), 'image/png');
    };
    image.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(text);
  }

  // For other programs: it opens as plain art, not as live objects.
  exportSeamFree() {
    this.download('drawing-seam-free.svg', this.host.seamFreeSvg(), 'image/svg+xml');
  }

  // The animation is recorded by a host of its own on the saved drawing,
  // so the page's document and clock stay as they are. The recording host runs in a module instance of its own: the plug-in's
  // globals are the instance's.
  async exportAnimation() {
    this.host.run('save "/save.svg"');
    const instance = await createMirrortile();
    const recorder = new instance.Editor(localStorage.getItem(PREFERENCES_KEY) || '');
    try {
      recorder.putFile('/drawing.svg', this.host.file('/save.svg'));
      const opened = JSON.parse(recorder.run('open "/drawing.svg"'));
      if (opened.error) throw new Error(opened.error);
      this.download('animation.svg', recorder.animation(0), 'image/svg+xml');
    } catch (error) {
      this.showAlert(String(error.message || error));
    } finally {
      recorder.delete();
    }
  }

  // ---- Input -------------------------------------------------------------------------
  useTool(tool) {
    this.tool = tool;
    $('tool-select').classList.toggle('active', tool === 'select');
    $('tool-mirrortile').classList.toggle('active', tool === 'mirrortile');
    this.showCursor();
  }

  point(event) {
    const p = this.toDocument(event.clientX, event.clientY);
    return `${+p.x.toFixed(3)} ${+p.y.toFixed(3)}`;
  }

  wire() {
    const canvas = $('canvas');
    let drag = null;
    let pending = null;
    let spaceDown = false;

    canvas.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      canvas.setPointerCapture(event.pointerId);
      canvas.focus();
      if (spaceDown) {
        drag = { kind: 'pan', x: event.clientX, y: event.clientY };
      } else if (this.tool === 'mirrortile') {
        drag = { kind: 'tool' };
        this.artBeforePress = new Set(this.allArt(true));
        this.run(`press ${this.point(event)}`);
      } else {
        const id = this.artAt(event.target);
        const start = this.toDocument(event.clientX, event.clientY);
        if (id && !event.shiftKey) {
          if (!this.selection.includes(id)) this.select([id]);
          const original = new Map(this.selection.map((s) => [s, this.artElement(s).getAttribute('transform') || '']));
          drag = { kind: 'move', start, moved: false, original };
        } else if (id) {
          this.select(this.selection.includes(id) ? this.selection.filter((s) => s !== id) : [...this.selection, id]);
        } else {
          drag = { kind: 'marquee', start, additive: event.shiftKey };
        }
      }
    });

    const dragTo = (event) => {
      if (!drag) return;
      if (drag.kind === 'pan') {
        this.view.x += event.clientX - drag.x;
        this.view.y += event.clientY - drag.y;
        drag.x = event.clientX;
        drag.y = event.clientY;
        this.placeStage();
      } else if (drag.kind === 'tool') {
        this.send(`moveto ${this.point(event)}`);
        this.refreshDrawing();
      } else if (drag.kind === 'move') {
        const p = this.toDocument(event.clientX, event.clientY);
        drag.dx = p.x - drag.start.x;
        drag.dy = p.y - drag.start.y;
        drag.moved = true;
        for (const [id, original] of drag.original) {
          this.artElement(id).setAttribute('transform', `translate(${drag.dx} ${drag.dy}) ${original}`);
        }
        this.drawSelection();
      } else if (drag.kind === 'marquee') {
        const p = this.toDocument(event.clientX, event.clientY);
        drag.end = p;
        if (!drag.box) {
          drag.box = this.shape('rect', { fill: 'rgba(30,136,229,.1)', stroke: '#1e88e5',
            'vector-effect': 'non-scaling-stroke' });
          this.overlay.appendChild(drag.box);
        }
        drag.box.setAttribute('x', Math.min(p.x, drag.start.x));
        drag.box.setAttribute('y', Math.min(p.y, drag.start.y));
        drag.box.setAttribute('width', Math.abs(p.x - drag.start.x));
        drag.box.setAttribute('height', Math.abs(p.y - drag.start.y));
      }
    };

    canvas.addEventListener('pointermove', (event) => {
      if (drag) {
        // One update an animation frame, at the latest position.
        if (!pending) requestAnimationFrame(() => { const e = pending; pending = null; dragTo(e); });
        pending = event;
      } else if (this.tool === 'mirrortile' && !this.cursorPending) {
        this.cursorPending = true;
        requestAnimationFrame(() => {
          this.cursorPending = false;
          // The cursor's messages are part of the session: the host
          // brings plug-in objects up to date after every message.
          this.send(`cursor ${this.point(event)}`);
          this.state.cursor = JSON.parse(this.host.state()).cursor;
          this.showCursor();
        });
      }
    });

    canvas.addEventListener('pointerup', (event) => {
      if (!drag) return;
      if (pending) { dragTo(pending); pending = null; }
      const finished = drag;
      drag = null;
      if (finished.kind === 'tool') {
        this.artBeforePress = null;
        this.run(`release ${this.point(event)}`);
      } else if (finished.kind === 'move' && finished.moved) {
        const dx = +finished.dx.toFixed(3);
        const dy = +finished.dy.toFixed(3);
        for (const id of this.selection) this.run(`move ${this.quote(id)} ${dx} ${dy}`);
      } else if (finished.kind === 'marquee') {
        const end = finished.end || finished.start;
        const left = Math.min(end.x, finished.start.x);
        const right = Math.max(end.x, finished.start.x);
        const top = Math.min(end.y, finished.start.y);
        const bottom = Math.max(end.y, finished.start.y);
        const inside = this.allArt().filter((id) => {
          const box = this.boundsOf(this.artElement(id));
          return box && box.x < right && box.x + box.width > left && box.y < bottom && box.y + box.height > top;
        });
        const hit = right - left > 1 || bottom - top > 1 ? inside : [];
        this.select(finished.additive ? [...this.selection, ...hit] : hit);
      }
    });

    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      // The wheel zooms about the pointer; with shift it pans.
      if (event.shiftKey) {
        this.view.x -= event.deltaX || event.deltaY;
        this.placeStage();
      } else {
        this.zoomAt(Math.exp(-event.deltaY / 500), event.clientX, event.clientY);
      }
    }, { passive: false });

    window.addEventListener('keydown', (event) => {
      if (event.target instanceof HTMLInputElement) return;
      const command = event.ctrlKey || event.metaKey;
      if (event.code === 'Space') { spaceDown = true; event.preventDefault(); }
      if (command && event.key.toLowerCase() === 'z') {
        event.preventDefault();
        this.run(event.shiftKey ? 'redo' : 'undo');
      } else if (command && event.key.toLowerCase() === 'y') {
        event.preventDefault();
        this.run('redo');
      } else if (command && event.key === '0') {
        event.preventDefault();
        this.fit();
      } else if (!command && event.key === 'v') {
        this.useTool('select');
      } else if (!command && event.key === 'm') {
        this.useTool('mirrortile');
      }
    });
    window.addEventListener('keyup', (event) => { if (event.code === 'Space') spaceDown = false; });

    canvas.addEventListener('dragover', (event) => event.preventDefault());
    canvas.addEventListener('drop', async (event) => {
      event.preventDefault();
      const file = event.dataTransfer.files[0];
      if (file) this.open(file.name, await file.text());
    });
    $('open').onclick = () => $('open-file').click();
    $('open-file').onchange = async () => {
      const file = $('open-file').files[0];
      if (file) this.open(file.name, await file.text());
      $('open-file').value = '';
    };
    $('save').onclick = () => this.save();
    $('export-png').onclick = () => this.exportPng();
    $('export-seam-free').onclick = () => this.exportSeamFree();
    $('export-animation').onclick = () => this.exportAnimation();
    $('undo').onclick = () => this.run('undo');
    $('redo').onclick = () => this.run('redo');
    $('expand').onclick = () => {
      if (this.selection.length !== 1) this.showAlert('Select one plug-in object to expand.');
      else this.run(`expand ${this.quote(this.selection[0])}`);
    };
    $('zoom-in').onclick = () => { const r = $('canvas').getBoundingClientRect(); this.zoomAt(1.25, r.left + r.width / 2, r.top + r.height / 2); };
    $('zoom-out').onclick = () => { const r = $('canvas').getBoundingClientRect(); this.zoomAt(0.8, r.left + r.width / 2, r.top + r.height / 2); };
    $('zoom-fit').onclick = () => this.fit();
    $('menu-button').onclick = () => { $('menu').hidden = !$('menu').hidden; };
    $('tool-select').onclick = () => this.useTool('select');
    $('tool-mirrortile').onclick = () => this.useTool('mirrortile');
    $('tool-mirrortile').ondblclick = () => this.options();
    $('layer-add').onsubmit = (event) => {
      event.preventDefault();
      const name = $('layer-name').value.trim();
      if (name) this.run(`layer ${this.quote(name)}`);
      $('layer-name').value = '';
    };
    window.addEventListener('resize', () => this.placeStage());
  }

  async start() {
    const tool = JSON.parse(this.host.tool());
    const icon = tool && this.imageURL(RESOURCE_ICON, tool.icon);
    const button = $('tool-mirrortile');
    if (icon) {
      const image = document.createElement('img');
      image.src = icon.url;
      image.alt = tool.title;
      button.appendChild(image);
    }
    if (tool) button.title = `${tool.title} (double-click for options)`;
    this.wire();
    this.useTool('mirrortile');
    const demo = await fetch('demo.svg').then((response) => response.text());
    this.host.putFile('/demo.svg', demo);
    this.run('open "/demo.svg"');
    this.fit();
    document.body.dataset.ready = 'true';
  }
}

createMirrortile().then((module) => {
  window.editor = new Editor(module);
  return window.editor.start();
}).catch((error) => {
  document.getElementById('hint').textContent = 'The editor could not start: ' + error;
});
