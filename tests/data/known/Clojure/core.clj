;; Words of a text and how often they occur.
(ns demo.core
  (:require [clojure.string :as str]))

(defn words
  "Splits text into words; a ; here is not a comment."
  [text]
  (str/split text #"\s+")) ; on blanks

;; The help text spans lines.
(def help "Usage: words FILE
  ; counts the words of FILE")

(defn frequencies-of [text]
  (frequencies (words text)))
