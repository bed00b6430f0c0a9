// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game (linked in front of grimspire.js, after commands.js,
// which the build writes from the shared header): the canvas, the keys and the
// clocks handed to the game's host, the menu bar, full screen, sound, and the
// saved games kept in IndexedDB. The game, its host and its picture live in page.cpp.
(() => {
  const SAVES = '/saves';
  const SCHEMES = ['gray', 'green', 'amber'];
  const CONTROL_SHORTCUTS = { KeyS: 'ID_SAVE_GAME', KeyO: 'ID_LOAD_GAME' };

  const $ = (selector) => document.querySelector(selector);
  const hook = { draws: 0, firstFrame: 0 };
  window.grimspire = hook;

  // The glyph sheet is fetched and decoded while the WebAssembly compiles.
  const sheet = new Image();
  sheet.src = 'glyphs.gif';
  const sheetDecoded = sheet.decode();

  // Sound. Browsers start audio only after a key or a click: until then a cue
  // waits, and the first one starts the cue still due (the title tune).
  const audio = {
    ctx: null, gain: null, buffers: {}, voices: {}, pending: 0, unlocked: false,
    live() { return this.unlocked && this.ctx !== null; },
    start(id) {
      const buffer = this.buffers[id];
      if (!this.live() || !buffer) {
        this.pending = id;
        return;
      }
      const source = this.ctx.createBufferSource();
      source.buffer = buffer;
      source.connect(this.gain);
      source.start();
      this.voices[id] = { source, end: this.ctx.currentTime + buffer.duration };
    },
    halt(id) {
      if (this.pending === id) this.pending = 0;
      const voice = this.voices[id];
      delete this.voices[id];
      if (voice) voice.source.stop();
    },
    playing(id) {
      const voice = this.voices[id];
      return this.pending === id || (voice !== undefined && this.ctx.currentTime < voice.end);
    },
    unlock() {
      if (this.unlocked || this.ctx === null) return;
      this.unlocked = true;
      this.ctx.resume();
      this.resumePending();
    },
    resumePending() {
      const id = this.pending;
      this.pending = 0;
      if (id) this.start(id);
    },
    load() {
      try {
        this.ctx = new AudioContext();
      } catch (e) {
        return;  // no sound here; every cue is silent
      }
      this.gain = this.ctx.createGain();
      this.gain.connect(this.ctx.destination);
      const loads = [];
      for (let id = 103; id <= 111; ++id) {
        loads.push(fetch(`sounds/cue${id}.wav`).then((r) => r.arrayBuffer())
          .then((data) => this.ctx.decodeAudioData(data)).then((b) => { this.buffers[id] = b; }, () => {}));
      }
      Promise.all(loads).then(() => { if (this.live()) this.resumePending(); });
    },
  };
  Module.audio = audio;

  // The best score under the names the game gives its values, and the page's settings.
  Module.store = {
    usable() { try { return localStorage !== null; } catch (e) { return false; } },
    get(name) { try { return localStorage.getItem(`grimspire.${name}`); } catch (e) { return null; } },
    set(name, text) {
      try { localStorage.setItem(`grimspire.${name}`, text); return true; } catch (e) { return false; }
    },
    remove(name) { try { localStorage.removeItem(`grimspire.${name}`); } catch (e) { /* nothing kept */ } },
  };

  let canvas, context, picture;
  let started = false;
  const early = [];  // keys pressed before the saved games were read
  let persisting = Promise.resolve();
  let bare = false;  // full screen without the menu bar and the mouse pointer
  let clock = 0;
  let settingsShown = -1;
  let keptShown = 0;

  function present() {
    if (!Module._web_present()) return;
    context.putImageData(picture, 0, 0);
    Module.layout.shown();
    ++hook.draws;
    if (!hook.firstFrame) hook.firstFrame = performance.now();
  }

  const layout = () => Module.layout.layout(bare);

  const isFull = () => document.fullscreenElement != null;

  function setBare(on) {
    bare = on;
    document.body.classList.toggle('bare', bare);
    layout();
  }

  // Saved games: each its own record in IndexedDB, so that no tab ever removes or
  // overwrites what another one stored. SAVE writes to the folder in memory; after
  // each Enter what changed there is stored, record by record, under a Web Lock, and
  // the other tabs, told of it, take the new records into their own folders.
  const SAVE_SIZE = 2152;
  const told = 'BroadcastChannel' in window ? new BroadcastChannel('grimspire-saves') : null;
  const known = new Map();  // name -> the bytes last stored or taken in
  let savesDb = null;
  const asked = (r) => new Promise((done, fail) => { r.onsuccess = () => done(r.result); r.onerror = () => fail(r.error); });
  const finished = (t) => new Promise((done, fail) => {
    t.oncomplete = done;
    t.onerror = t.onabort = () => fail(t.error);
  });
  const locked = (mode, work) => (navigator.locks ? navigator.locks.request('grimspire-saves', { mode }, work) : work());
  const same = (a, b) => a && b && a.length === b.length && a.every((v, i) => v === b[i]);
  // A plain name as the game writes it; a save's own temporary file is not one.
  const isSaveName = (name) => /^[^/\0]+$/.test(name) && name !== '.' && name !== '..' && !/\.tmp-\d+-\d+$/.test(name);

  function openSaves() {
    const r = indexedDB.open('grimspire', 1);
    r.onupgradeneeded = () => r.result.createObjectStore('saves');
    return asked(r);
  }

  // The saves the first page kept all together in the folder's own database, taken over once.
  async function takeOverOldSaves(db) {
    if (!indexedDB.databases || !(await indexedDB.databases()).some((d) => d.name === SAVES)) return;
    const old = await asked(indexedDB.open(SAVES));
    if (!old.objectStoreNames.contains('FILE_DATA')) return old.close();
    const files = old.transaction('FILE_DATA').objectStore('FILE_DATA');
    const [paths, entries] = await Promise.all([asked(files.getAllKeys()), asked(files.getAll())]);
    old.close();
    const t = db.transaction('saves', 'readwrite');
    paths.forEach((path, i) => {
      const name = String(path).slice(SAVES.length + 1);
      const contents = entries[i] && entries[i].contents;
      if (String(path).startsWith(`${SAVES}/`) && isSaveName(name) && contents) {
        t.objectStore('saves').add(new Uint8Array(contents), name);  // a newer record of the name stays
      }
    });
    t.onerror = (e) => e.preventDefault();  // the names already there
    await finished(t).catch(() => {});
  }

  // Every stored save into the folder in memory.
  async function takeIn() {
    await locked('shared', async () => {
      const saves = savesDb.transaction('saves').objectStore('saves');
      const [names, values] = await Promise.all([asked(saves.getAllKeys()), asked(saves.getAll())]);
      names.forEach((name, i) => {
        const bytes = new Uint8Array(values[i]);
        if (!isSaveName(name) || same(known.get(name), bytes)) return;
        FS.writeFile(`${SAVES}/${name}`, bytes);
        known.set(name, bytes);
      });
    });
  }

  async function readSaves() {
    try {
      savesDb = await openSaves();
      await locked('exclusive', () => takeOverOldSaves(savesDb)).catch(() => {});
      await takeIn();
      if (told) told.onmessage = () => takeIn().catch(() => {});
    } catch (e) {
      savesDb = null;  // private browsing without IndexedDB: saves last as long as the page
    }
  }

  // What SAVE changed in the folder, stored; nothing stored is ever removed.
  async function storeChanged() {
    const changed = [];
    for (const name of FS.readdir(SAVES)) {
      const path = `${SAVES}/${name}`;
      if (!isSaveName(name) || !FS.isFile(FS.stat(path).mode)) continue;
      const bytes = FS.readFile(path);
      if (!same(known.get(name), bytes)) changed.push([name, bytes]);
    }
    if (!changed.length || !savesDb) return;
    await locked('exclusive', () => {
      const t = savesDb.transaction('saves', 'readwrite');
      for (const change of changed) t.objectStore('saves').put(change[1], change[0]);
      return finished(t);
    });
    for (const change of changed) known.set(change[0], change[1]);
    if (told) told.postMessage(changed.map((change) => change[0]));
  }

  function persist() {
    persisting = persisting.then(storeChanged).catch(() => {});
    return persisting;
  }
  hook.persisted = () => persisting;
  hook.saves = () => [...known.keys()];

  // IndexedDB may not finish writing before a closing page is gone: the kept game
  // also goes into localStorage, which is written at once.
  const KEPT = `${SAVES}/kept-game`;
  function mirrorKept() {
    if (FS.analyzePath(KEPT).exists) Module.store.set('kept', btoa(String.fromCharCode(...FS.readFile(KEPT))));
    else Module.store.remove('kept');
    persist();
  }
  function keep() {
    Module._web_keep();
    keptShown = Module._web_kept_serial();
    mirrorKept();
  }

  // The menu's checks, the title, the icon and the kept settings as the host has them.
  function follow() {
    const serial = Module._web_settings_serial();
    if (serial !== settingsShown) {
      settingsShown = serial;
      const bits = Module._web_settings();
      const scheme = SCHEMES[bits >> 2];
      for (const name of SCHEMES) check(name, name === scheme);
      check('ID_PAUSE', (bits & 1) !== 0);
      check('ID_VIEW_SOUND', (bits & 2) !== 0);
      document.title = bits & 1 ? 'Grimspire - Paused' : 'Grimspire';
      $('#icon').href = `icons/grimspire-${scheme}-32.png`;
      Module.store.set('View.scheme', scheme);
      Module.store.set('View.sound', bits & 2 ? 'on' : 'off');
    }
    present();
    schedule(Module._web_advance(performance.now()));
  }

  // One timer for both clocks, set for when the host next has a tick due.
  function schedule(due) {
    clearTimeout(clock);
    if (due >= 0) clock = setTimeout(follow, Math.max(0, due - performance.now()));
  }

  // Does what the host leaves to the page.
  function carry(request) {
    switch (HOST_REQUESTS[request]) {
      case 'AskSaveName': download(); break;
      case 'AskLoadName':
        Module.saveBrowser.open({
          upload() {
            Module._web_dialog(1);
            choosing = true;
            $('#upload').click();
          },
          after: () => carry(0),
        });
        break;
      case 'FullScreen':
        if (isFull()) document.exitFullscreen();
        else document.documentElement.requestFullscreen().catch(() => {});
        break;
      case 'Escape': if (isFull()) setBare(!bare); break;
      default: break;
    }
    if (Module._web_kept_serial() !== keptShown) {
      keptShown = Module._web_kept_serial();
      mirrorKept();  // a finished game is never continued
    }
    follow();
  }

  function deliver(key, code, numLock, repeat, ctrl) {
    const request = Module.ccall('web_key', 'number', ['string', 'string', 'number', 'number', 'number', 'number'],
      [key, code, numLock, repeat, ctrl, 0]);
    carry(request);
    if (request >= 0 && (code === 'Enter' || code === 'NumpadEnter')) persist();
    return request >= 0;
  }

  // Save Game: SAVE into a scratch folder, then the file handed to the browser.
  function download() {
    const folder = '/tmp/download';
    const path = `${folder}/GRIMSPIRE`;
    if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
    Module.ccall('web_save_or_load', 'number', ['number', 'string', 'string'], [1, folder, 'GRIMSPIRE']);
    if (!FS.analyzePath(path).exists) return;
    const url = URL.createObjectURL(new Blob([FS.readFile(path)], { type: 'application/octet-stream' }));
    FS.unlink(path);
    const link = document.createElement('a');
    link.href = url;
    link.download = 'GRIMSPIRE';  // LOAD GRIMSPIRE finds it in a desktop saves folder
    link.click();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  // Load Game: the chosen file LOADed from a scratch folder, with LOAD's checks and replies
  // under the file's own name.
  let choosing = false;
  function chosen() {
    if (!choosing) return false;
    choosing = false;
    Module._web_dialog(0);
    return true;
  }

  // A file of another size than a save's is not read at all: LOAD finds it empty and says so.
  async function upload(file) {
    const folder = '/tmp/upload';
    const name = file.name.toUpperCase().replace(/[^A-Z ]/g, '').trim().slice(0, 14) || 'UPLOAD';
    if (!FS.analyzePath(folder).exists) FS.mkdir(folder);
    const bytes = file.size === SAVE_SIZE ? new Uint8Array(await file.arrayBuffer()) : new Uint8Array(0);
    FS.writeFile(`${folder}/${name}`, bytes);
    Module.ccall('web_save_or_load', 'number', ['number', 'string', 'string'], [0, folder, name]);
    FS.unlink(`${folder}/${name}`);
    follow();
  }

  const command = (name) => carry(Module._web_command(COMMANDS[name]));

  function check(name, on) {
    $(`[data-command="${name}"], [data-name="${name}"]`).setAttribute('aria-checked', String(on));
  }

  // The menu bar: Alt and the underlined letter, the arrows, Enter and Esc, or the mouse.
  const menus = () => [...document.querySelectorAll('#menubar > div')];
  let openMenu = -1;

  function showMenu(index, focusFirst) {
    hideMenu();
    const menu = menus()[index];
    if (!menu) return;
    openMenu = index;
    $('[data-command="ID_SAVE_GAME"]').disabled = !Module._web_can_save();
    $('[data-command="ID_CONTINUE"]').disabled = !Module._web_can_continue();
    menu.querySelector('[role=menu]').hidden = false;
    menu.firstElementChild.setAttribute('aria-expanded', 'true');
    (focusFirst ? items()[0] : menu.firstElementChild).focus();
  }

  function hideMenu() {
    if (openMenu < 0) return;
    const menu = menus()[openMenu];
    menu.querySelector('[role=menu]').hidden = true;
    menu.firstElementChild.setAttribute('aria-expanded', 'false');
    openMenu = -1;
    document.activeElement.blur();
  }

  const items = () => [...menus()[openMenu].querySelectorAll('[role=menu] > :not(hr):not(:disabled)')];

  function menuKey(e) {
    const list = items();
    const at = list.indexOf(document.activeElement);
    const count = menus().length;
    if (e.code === 'Escape' || e.code === 'F10' || e.key === 'Alt') hideMenu();
    else if (e.code === 'ArrowDown') list[(at + 1) % list.length].focus();
    else if (e.code === 'ArrowUp') list[(at + list.length - 1) % list.length].focus();
    else if (e.code === 'ArrowRight') showMenu((openMenu + 1) % count, true);
    else if (e.code === 'ArrowLeft') showMenu((openMenu + count - 1) % count, true);
    else if (e.code === 'Enter' || e.code === 'Space') (at >= 0 ? list[at] : list[0]).click();
    else {
      const item = list.find((candidate) => candidate.dataset.key === e.code);
      if (item) item.click();
    }
  }

  function onKey(e) {
    const unlocking = !audio.unlocked;
    audio.unlock();
    if (openMenu >= 0) {
      e.preventDefault();
      menuKey(e);
      return;
    }
    const alt = e.altKey && !e.ctrlKey;
    const ctrl = e.ctrlKey && !e.altKey;  // AltGr comes as both, and types characters
    if (alt && (e.code === 'Enter' || e.code === 'NumpadEnter')) {
      e.preventDefault();
      command('ID_VIEW_FULL_SCREEN');
    } else if (alt) {
      const index = menus().findIndex((menu) => menu.firstElementChild.dataset.key === e.code);
      if (index >= 0) {
        e.preventDefault();
        showMenu(index, true);
      }
    } else if (ctrl && !e.shiftKey && CONTROL_SHORTCUTS[e.code]) {
      e.preventDefault();
      command(CONTROL_SHORTCUTS[e.code]);
    } else if (e.metaKey || e.code === 'F11' || e.code === 'F12' || (ctrl && e.key !== 'Control')) {
      // The browser's own.
    } else if (e.code === 'F10') {
      e.preventDefault();
      showMenu(0, true);
    } else if (unlocking && Module._web_mode() === 1 && !['p', 'i', 'c'].includes(e.key.toLowerCase())) {
      // The key that lets the page sound starts the title's tune; it must not stop it again.
      e.preventDefault();
    } else {
      // The keypad's digits arrive as digits exactly while Num Lock is on.
      const numLock = e.key.length === 1 ? 1 : 0;
      const repeat = e.repeat ? 1 : 0;
      if (!started) {
        e.preventDefault();
        early.push([e.key, e.code, numLock, repeat, ctrl ? 1 : 0]);
      } else if (deliver(e.key, e.code, numLock, repeat, ctrl ? 1 : 0)) {
        e.preventDefault();
      }
    }
  }

  function wireMenu() {
    menus().forEach((menu, index) => {
      const head = menu.firstElementChild;
      head.addEventListener('click', () => (openMenu === index ? hideMenu() : showMenu(index, false)));
      head.addEventListener('mouseenter', () => { if (openMenu >= 0 && openMenu !== index) showMenu(index, false); });
    });
    for (const item of document.querySelectorAll('[data-command]')) {
      item.addEventListener('click', () => {
        hideMenu();
        command(item.dataset.command);
      });
    }
    document.addEventListener('pointerdown', (e) => {
      audio.unlock();
      if (e.target.closest('#menubar, #touch')) return;
      if (openMenu >= 0) hideMenu();
      // In full screen a click shows or hides the menu bar; a double click counts once.
      else if (isFull() && e.detail <= 1 && (e.button === 0 || e.button === 2)) setBare(!bare);
    });
    $('#upload').addEventListener('change', (e) => {
      const file = e.target.files[0];
      e.target.value = '';
      chosen();
      if (file) upload(file);
      else follow();
    });
    $('#upload').addEventListener('cancel', () => { if (chosen()) follow(); });
    // Browsers without the cancel event: the page gets its focus back when the chooser closes.
    // Only a chooser open when the focus came back: focus from another tab must not end the next one.
    window.addEventListener('focus', () => {
      if (choosing) setTimeout(() => { if (chosen()) follow(); }, 500);
    });
  }

  async function start() {
    canvas = $('#screen');
    context = canvas.getContext('2d', { alpha: false });
    FS.mkdir(SAVES);
    const savesRead = readSaves();

    await sheetDecoded;
    const scratch = document.createElement('canvas');
    scratch.width = sheet.naturalWidth;
    scratch.height = sheet.naturalHeight;
    const scratchContext = scratch.getContext('2d', { willReadFrequently: true });  // read back at once
    scratchContext.drawImage(sheet, 0, 0);
    const bytes = scratchContext.getImageData(0, 0, scratch.width, scratch.height).data;
    const at = Module._malloc(bytes.length);
    HEAPU8.set(bytes, at);
    const scheme = Math.max(0, SCHEMES.indexOf(Module.store.get('View.scheme')));
    const ok = Module._web_start(at, scratch.width, scratch.height, Module.store.get('View.sound') === 'off' ? 0 : 1,
      scheme);
    Module._free(at);
    if (!ok) return;
    picture = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, Module._web_picture(), 640 * 400 * 4), 640, 400);
    layout();
    follow();

    window.addEventListener('resize', layout);
    Module.layout.coarse.addEventListener('change', layout);
    document.addEventListener('fullscreenchange', () => {
      setBare(isFull());
      check('ID_VIEW_FULL_SCREEN', isFull());
    });
    // A page out of sight would go on at a crawl, and the monsters with it: it waits instead.
    // Hidden, the game is kept too: a phone may end a page out of sight without a word.
    document.addEventListener('visibilitychange', () => {
      Module._web_hidden(document.hidden ? 1 : 0);
      if (document.hidden) keep();
      follow();
    });
    audio.load();

    await savesRead;
    // A kept game the last page wrote as it went, newer than what reached IndexedDB.
    const kept = Module.store.get('kept');
    if (kept !== null) FS.writeFile(KEPT, Uint8Array.from(atob(kept), (c) => c.charCodeAt(0)));
    Module._web_look_for_kept();
    present();
    started = true;
    for (const key of early.splice(0)) deliver(...key);
  }

  hook.rows = () => {
    const grid = HEAPU8.subarray(Module._web_grid(), Module._web_grid() + 1000);
    const rows = [];
    for (let y = 0; y < 25; ++y) {
      let row = '';
      for (let x = 0; x < 40; ++x) row += String.fromCharCode(grid[25 * x + y] || 32);
      rows.push(row);
    }
    return rows;
  };
  hook.mode = () => Module._web_mode();
  // Milliseconds a full redraw takes, the picture built and handed to the canvas.
  hook.timeRedraws = (count) => {
    const start = performance.now();
    for (let i = 0; i < count; ++i) {
      Module._web_invalidate();
      present();
    }
    return (performance.now() - start) / count;
  };
  hook.ready = new Promise((resolve) => {
    Module.onRuntimeInitialized = () => {
      window.addEventListener('keydown', onKey);
      window.addEventListener('contextmenu', (e) => e.preventDefault());
      // Nothing is lost by closing or reloading: the game in play is kept, and Continue brings it back.
      window.addEventListener('pagehide', () => {
        if (started) keep();
      });
      wireMenu();
      start().then(resolve);
    };
  });
})();
