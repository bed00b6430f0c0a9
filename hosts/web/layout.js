// SPDX-License-Identifier: GPL-3.0-or-later
// Where the picture and the touch controls go. On a touch screen the controls sit
// under the picture when the screen stands upright and beside it when it lies on
// its side. Where a whole factor of the picture does not fit, the picture is
// enlarged by one into a second canvas that the browser smooths down to the space,
// so that every pixel stays square and even.
Module.layout = (() => {
  const $ = (selector) => document.querySelector(selector);
  const coarse = matchMedia('(pointer: coarse)');
  const after = [];  // called after each picture drawn (the touch controls follow the mode)
  let sharp = null;  // the enlarged canvas while the picture is smoothed, else null
  let density = null;

  function copy() {
    if (!sharp) return;
    const context = sharp.getContext('2d', { alpha: false });
    context.imageSmoothingEnabled = false;
    context.drawImage($('#screen'), 0, 0, sharp.width, sharp.height);
  }

  function place(canvas, rect) {
    Object.assign(canvas.style, {
      left: `${rect[0]}px`, top: `${rect[1]}px`, width: `${rect[2]}px`, height: `${rect[3]}px`, visibility: 'visible',
    });
  }

  // bare: full screen without the menu bar.
  function layout(bare) {
    const ratio = window.devicePixelRatio || 1;
    const touch = coarse.matches;
    const upright = innerHeight >= innerWidth;
    document.body.classList.toggle('touch', touch);
    document.body.classList.toggle('upright', touch && upright);
    const bar = $('#menubar');
    const controls = $('#touch');
    controls.style.height = '';  // measured as its buttons need it
    let top = bare ? 0 : bar.offsetHeight;
    let width = innerWidth;
    let height = innerHeight - top;
    if (touch && upright) {
      height = Math.max(1, height - Math.max(controls.offsetHeight, 1));
    } else if (touch) {
      // Lying down, the menu bar goes above the controls, and the picture takes the whole height.
      const side = Math.max(controls.offsetWidth, bar.offsetWidth, 1);
      top = 0;
      width = Math.max(1, innerWidth - side);
      height = innerHeight;
    }
    const at = Module._web_place(Math.round(width * ratio), Math.round(height * ratio), ratio) >> 2;
    const [factor, left, y, right, bottom] = HEAP32.subarray(at, at + 5);
    // Upright, the picture goes to the top and the controls take what is left under it.
    const rect = [left / ratio, top + (touch && upright ? 0 : y / ratio), (right - left) / ratio, (bottom - y) / ratio];
    if (touch && upright) {
      controls.style.top = `${rect[1] + rect[3]}px`;
      controls.style.height = `${innerHeight - rect[1] - rect[3]}px`;
    } else if (touch) {
      controls.style.top = `${bar.offsetHeight}px`;
      controls.style.height = `${innerHeight - bar.offsetHeight}px`;
    }
    const smoothed = right - left !== 640 * factor;
    sharp = smoothed ? $('#sharp') : null;
    $(smoothed ? '#screen' : '#sharp').style.visibility = 'hidden';
    if (smoothed) {
      sharp.width = 640 * factor;
      sharp.height = 400 * factor;
      copy();
    }
    place(smoothed ? sharp : $('#screen'), rect);
    watchDensity(bare);
  }

  // A change of density alone (the window moved to another screen) fires no resize.
  function watchDensity(bare) {
    if (density) density.onchange = null;
    density = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    density.onchange = () => layout(bare);
  }

  return {
    layout,
    coarse,
    shown() {
      copy();
      for (const f of after) f();
    },
    after,
  };
})();
