// Touch on the game's screen: a tap is a click, a long press opens the conveniences' menu
// (as the right button does), a swipe down opens the history and moves it back, a swipe up
// moves it on while it is open. The browser's own gestures (scrolling, zoom, the mouse
// events it would make up) are kept off the screen.
'use strict';

const TsukikageTouch = (() => {
  const LONG_PRESS_MS = 500;
  const SLOP_PX = 12;    // a finger moving less than this still taps
  const SWIPE_PX = 48;

  function attach(canvas, view) {
    let touch = null;  // { id, x, y, lastX, lastY, timer, pressed }

    const reset = () => {
      if (touch) clearTimeout(touch.timer);
      touch = null;
    };

    canvas.addEventListener('touchstart', (event) => {
      event.preventDefault();
      if (!view.started()) return;
      // A second finger ends the gesture: nothing is clicked.
      if (touch || event.touches.length > 1) {
        reset();
        return;
      }
      const t = event.changedTouches[0];
      touch = { id: t.identifier, x: t.clientX, y: t.clientY, lastX: t.clientX, lastY: t.clientY,
                pressed: false };
      touch.timer = setTimeout(() => {
        if (!touch) return;
        touch.pressed = true;
        view.rightButton(touch.x, touch.y);
      }, LONG_PRESS_MS);
    }, { passive: false });

    canvas.addEventListener('touchmove', (event) => {
      event.preventDefault();
      const t = touch && [...event.changedTouches].find((c) => c.identifier === touch.id);
      if (!t) return;
      touch.lastX = t.clientX;
      touch.lastY = t.clientY;
      if (Math.hypot(t.clientX - touch.x, t.clientY - touch.y) > SLOP_PX) clearTimeout(touch.timer);
    }, { passive: false });

    canvas.addEventListener('touchend', (event) => {
      event.preventDefault();
      const t = touch && [...event.changedTouches].find((c) => c.identifier === touch.id);
      if (!t) return;
      const { x, y, pressed } = touch;
      reset();
      if (pressed) return;
      const dx = t.clientX - x;
      const dy = t.clientY - y;
      if (Math.abs(dy) >= SWIPE_PX && Math.abs(dy) > 2 * Math.abs(dx)) {
        if (dy > 0) view.key('WheelUp');
        else if (view.historyOpen()) view.key('WheelDown');
        return;
      }
      if (Math.hypot(dx, dy) <= SLOP_PX) view.tap(x, y);
    }, { passive: false });

    canvas.addEventListener('touchcancel', reset);
  }

  return { attach, LONG_PRESS_MS };
})();
