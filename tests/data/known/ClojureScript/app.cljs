; Entry point of the browser app.
(ns demo.app
  (:require [goog.dom :as gdom]))

(def greeting "Hello; world")

(defn mount [] ; called on load
  (let [el (gdom/getElement "app")]
    (set! (.-textContent el) greeting)))

;; Reload hook for the dev server.
(defn ^:after-load reload []
  (mount))
